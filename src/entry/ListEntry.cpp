#include "entry/ListEntry.h"

#include <algorithm>
#include <climits>
#include <numeric>

#include "engine/Calculation.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

InputSummary SummariseInput(const JobInput& input) {
    InputSummary summary;
    const auto stock = input.StockRows.size();
    const auto cuts = input.CutRows.size();
    summary.CalculateEnabled = stock > 0 && cuts > 0;
    if (stock == 1)
        summary.StockText = "1 Stock length available";
    else if (stock > 1)
        summary.StockText = std::to_string(stock) + " Different stock lengths available";
    if (cuts == 1)
        summary.CutText = "1 Cut length required";
    else if (cuts > 1)
        summary.CutText = std::to_string(cuts) + " Different cut lengths required";
    return summary;
}

namespace {

CommitResult Refuse(std::string message) { return {CommitStatus::Refused, std::move(message)}; }

CommitResult Commit(std::vector<ListRow>& rows, const std::string& quantity,
                    const std::string& typedLength, const std::string& mark, bool isStock,
                    const JobUnits& units) {
    if (quantity.empty() || typedLength.empty()) return {};
    const EnteredLength entered = LengthFromTyped(typedLength, units);
    if (!entered.Error.empty()) return Refuse(entered.Error);
    const std::string& length = entered.Length;
    if (auto message = RowProblem(quantity, length, isStock, units)) return Refuse(*message);
    const auto l = ReadWholeNumber(length);

    int index = LastRowOfLength(rows, *l);
    // Cut rows of one length with different marks stay apart, to be labelled each with its own.
    if (!isStock && index >= 0 && rows[index].Mark != mark) {
        index = -1;
        for (int k = static_cast<int>(rows.size()) - 1; k >= 0 && index < 0; --k) {
            if (rows[k].Mark == mark && ReadWholeNumber(rows[k].Length) == l) index = k;
        }
    }
    if (index < 0) {
        const int capacity = isStock ? MaxStockRows : MaxCutRows;
        if (rows.size() >= static_cast<size_t>(capacity)) {
            return Refuse(isStock ? StockListFullMessage() : CutListFullMessage());
        }
        rows.push_back({quantity, length, mark});
        return {CommitStatus::Committed, {}};
    }
    // Bars to buy and inventory offcuts of one length would share a row, and the offcuts' count
    // would no longer say how many of its bars are theirs.
    if (isStock && InventoryOffcutIds(rows[index].Mark).empty() != InventoryOffcutIds(mark).empty())
        return Refuse(OffcutRowLengthMessage(length, units));
    const std::string& old = rows[index].Quantity;
    if (isStock && IsUnlimitedQuantity(old)) return {CommitStatus::Committed, {}};

    ListRow merged{quantity, length, MergedMarks(rows[index].Mark, mark)};
    if (!(isStock && IsUnlimitedQuantity(quantity))) {
        const auto typed = ReadWholeNumber(quantity);
        const auto existing = ReadWholeNumber(old);
        if (!existing) return Refuse(NotAQuantityMessage(old));
        const long long sum = static_cast<long long>(*typed) + *existing;
        if (sum > INT_MAX) return Refuse(QuantityTooLargeMessage(std::to_string(sum)));
        merged.Quantity = std::to_string(sum);
    }
    rows.erase(rows.begin() + index);
    rows.push_back(std::move(merged));
    return {CommitStatus::Committed, {}, index};
}

}  // namespace

std::string OffcutRowLengthMessage(const std::string& length, const JobUnits& units) {
    const auto value = ReadWholeNumber(length);
    return "The stock list has inventory offcuts of " +
           (value ? LengthWithUnit(*value, units) : length + "mm") +
           " in a row of their own: bars of that length to buy cannot share it.";
}

CommitResult CommitStockRow(std::vector<ListRow>& rows, const std::string& quantity,
                            const std::string& length, const std::string& mark,
                            const JobUnits& units) {
    return Commit(rows, quantity, length, mark, true, units);
}

CommitResult CommitCutRow(std::vector<ListRow>& rows, const std::string& quantity,
                          const std::string& length, const std::string& mark,
                          const JobUnits& units) {
    return Commit(rows, quantity, length, mark, false, units);
}

std::string MergedMarks(const std::string& existing, const std::string& added) {
    std::vector<std::string> parts;
    auto take = [&parts](const std::string& marks) {
        size_t start = 0;
        while (start <= marks.size()) {
            size_t end = marks.find(", ", start);
            if (end == std::string::npos) end = marks.size();
            std::string part = marks.substr(start, end - start);
            if (!part.empty() && std::find(parts.begin(), parts.end(), part) == parts.end())
                parts.push_back(std::move(part));
            start = end + 2;
        }
    };
    take(existing);
    take(added);
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : ", ") + part;
    return joined;
}

int ListViewCompare(const ListRow& a, const ListRow& b, int column) {
    const auto x = ReadInteger(column == 0 ? a.Quantity : a.Length);
    const auto y = ReadInteger(column == 0 ? b.Quantity : b.Length);
    if (!x || !y || *x == *y) return 0;
    return *x < *y ? -1 : 1;
}

std::vector<int> SortOrder(const std::vector<ListRow>& rows, int column) {
    // ListViewCompare leaves a "*" row's place open; it goes after the numbers, which keep the
    // comparison's order.
    auto key = [&rows, column](int i) {
        const ListRow& row = rows[static_cast<size_t>(i)];
        const auto value = ReadInteger(column == 0 ? row.Quantity : row.Length);
        return value ? static_cast<long long>(*value) : LLONG_MAX;
    };
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&key](int a, int b) { return key(a) < key(b); });
    return order;
}

void SortRows(std::vector<ListRow>& rows, int column) {
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (int i : SortOrder(rows, column)) sorted.push_back(std::move(rows[static_cast<size_t>(i)]));
    rows = std::move(sorted);
}

}  // namespace tallora
