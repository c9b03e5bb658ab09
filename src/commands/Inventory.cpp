#include "commands/Inventory.h"

#include <charconv>
#include <filesystem>
#include <map>

#include "inventory/Booking.h"
#include "inventory/InventoryStock.h"

namespace tallora {

namespace {

std::string Plural(long long n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string InventoryPath(RegistryStore& store, ShellServices& shell) {
    std::string folder = DataDirOrDefault(store, shell);
    const char separator = shell.PathSeparator();
    if (!folder.empty() && folder.back() != separator) folder += separator;
    return folder + InventoryFileName;
}

OffcutStore OpenInventory(const std::string& path, ShellServices& shell) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec) &&
        !shell.CreateFolders(folder.string())) {
        throw InventoryError(InventoryErrorKind::Failed, "The offcut inventory cannot be kept in " +
                                                             Quoted(folder.string()) +
                                                             ": the folder cannot be made.");
    }
    return OffcutStore::Open(path);
}

OffcutStore OpenInventory(RegistryStore& store, ShellServices& shell) {
    return OpenInventory(InventoryPath(store, shell), shell);
}

std::string InventoryMetres(long long millimetres) {
    const std::string sign = millimetres < 0 ? "-" : "";
    const long long mm = millimetres < 0 ? -millimetres : millimetres;
    std::string fraction = std::to_string(mm % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return sign + std::to_string(mm / 1000) + "." + fraction + " m";
}

namespace {

// Names the sections the inventory has, the first few, so that a section typed another way is
// seen.
std::string NoOffcutsOfSection(const OffcutStore& store, const std::string& section) {
    constexpr std::size_t Named = 5;
    const std::vector<SectionTotal> totals = store.TotalsBySection();
    std::string message = "The offcut inventory has no offcuts of section " + Quoted(section);
    if (totals.empty()) return message + ": it is empty.";
    message += "; it has offcuts of ";
    for (std::size_t k = 0; k < totals.size() && k < Named; ++k)
        message += (k == 0 ? "" : ", ") + Quoted(totals[k].Section);
    if (totals.size() > Named) message += " and " + std::to_string(totals.size() - Named) + " more";
    return message + ".";
}

}  // namespace

InventoryCommandResult UseOffcutsFromInventory(JobInput& input, const OffcutStore& store) {
    if (input.Units.Imperial()) return {false, ImperialInventoryMessage};
    const std::string section = input.Section.Name;
    if (SectionKey(section).empty()) {
        return {false,
                "Type the job's Section first: the offcut inventory keeps its offcuts by section."};
    }
    const std::vector<Offcut> offcuts = store.List(section);
    if (offcuts.empty()) return {false, NoOffcutsOfSection(store, section)};

    const InventoryStock stock = AddOffcutsAsStock(input, offcuts);
    std::string message;
    if (stock.Rows.empty()) {
        message = "No offcuts were added to the stock list.";
    } else {
        message = "Added " + Plural(static_cast<long long>(stock.Rows.size()), "row", "rows") +
                  " of inventory offcuts of section " + Quoted(section) +
                  " to the stock list: " + Plural(stock.Pieces(), "piece", "pieces") + ", " +
                  InventoryMetres(stock.TotalLength()) + ".";
    }
    if (stock.AlreadyListed > 0) {
        message += "\r\n" + Plural(stock.AlreadyListed, "offcut is", "offcuts are") +
                   " in the stock list already.";
    }
    if (stock.SameLength > 0) {
        message += "\r\n" + Plural(stock.SameLength, "offcut was", "offcuts were") +
                   " left out: the stock list has a row of that length already.";
    }
    if (stock.LeftOut > 0) {
        message += "\r\n" + Plural(stock.LeftOut, "offcut was", "offcuts were") +
                   " left out: the stock list is full.";
    }
    return {!stock.Rows.empty(), message};
}

InventoryCommandResult BookOffcutsToInventory(OffcutStore& store, const JobInput& input,
                                              const CalculationResult& result,
                                              const std::string& jobFile) {
    if (input.Units.Imperial())
        throw InventoryError(InventoryErrorKind::Invalid, ImperialInventoryMessage);
    BookCalculatedJob(store, input, result, jobFile);

    long long returnedPieces = 0;
    long long returnedLength = 0;
    for (const auto& offcut : ReturnedOffcuts(input, result)) {
        returnedPieces += offcut.Count;
        returnedLength += static_cast<long long>(offcut.Count) * offcut.Length;
    }
    long long usedBars = 0;
    long long usedLength = 0;
    const Allowances& a = input.Allowances;
    for (int j = 0; j < result.InputStockCount(); ++j) {
        if (!InputStockIsOffcut(result, j) || j >= static_cast<int>(result.StockBarsUsed.size()))
            continue;
        usedBars += result.StockBarsUsed[j];
        usedLength += static_cast<long long>(result.StockBarsUsed[j]) *
                      (result.InputStockLength[j] + a.Trim + a.Hold);
    }

    std::string message = "The job was booked to the offcut inventory.\r\n";
    message += returnedPieces > 0 ? Plural(returnedPieces, "offcut", "offcuts") +
                                        " returned to stock (" + InventoryMetres(returnedLength) +
                                        ") " + (returnedPieces == 1 ? "was" : "were") + " added."
                                  : "It returns no offcuts to stock.";
    message += "\r\n";
    message += usedBars > 0 ? Plural(usedBars, "inventory offcut", "inventory offcuts") + " (" +
                                  InventoryMetres(usedLength) + ") it cut " +
                                  (usedBars == 1 ? "was" : "were") + " taken away."
                            : "It cut no inventory offcuts.";
    return {true, message};
}

InventoryCommandResult DropOffcutsGoneFromInventory(JobInput& input, const OffcutStore& store) {
    std::map<long long, Offcut> inInventory;
    bool anyOffcutRow = false;
    for (const ListRow& row : input.StockRows)
        anyOffcutRow |= !InventoryOffcutIds(row.Mark).empty();
    if (!anyOffcutRow) return {false, {}};
    for (Offcut& offcut : store.List(input.Section.Name)) {
        const long long id = offcut.Id;
        inInventory.emplace(id, std::move(offcut));
    }

    long long dropped = 0;
    std::vector<ListRow> kept;
    for (ListRow row : input.StockRows) {
        const std::vector<long long> ids = InventoryOffcutIds(row.Mark);
        if (ids.empty()) {
            kept.push_back(std::move(row));
            continue;
        }
        int listed = 0;
        std::from_chars(row.Quantity.data(), row.Quantity.data() + row.Quantity.size(), listed);
        int length = 0;
        std::from_chars(row.Length.data(), row.Length.data() + row.Length.size(), length);
        long long left = 0;
        std::string mark;
        for (const long long id : ids) {
            const auto found = inInventory.find(id);
            if (found == inInventory.end() || found->second.Length != length) continue;
            left += found->second.Count;
            mark += (mark.empty() ? "" : ", ") + InventoryOffcutMark(id);
        }
        const long long pieces = std::min<long long>(listed, left);
        dropped += listed - pieces;
        if (pieces == 0) continue;
        row.Quantity = std::to_string(pieces);
        row.Mark = std::move(mark);
        kept.push_back(std::move(row));
    }
    if (kept == input.StockRows) return {false, {}};
    input.StockRows = std::move(kept);
    if (dropped == 0) return {true, {}};
    return {true, Plural(dropped, "inventory offcut", "inventory offcuts") + " of the stock list " +
                      (dropped == 1 ? "is" : "are") + " no longer in the offcut inventory and " +
                      (dropped == 1 ? "was" : "were") + " taken out of the stock list."};
}

bool PlanStillMatches(const JobInput& calculatedFrom, const JobInput& now) {
    const Allowances& a = calculatedFrom.Allowances;
    const Allowances& b = now.Allowances;
    return calculatedFrom.StockRows == now.StockRows && calculatedFrom.CutRows == now.CutRows &&
           SectionKey(calculatedFrom.Section.Name) == SectionKey(now.Section.Name) &&
           a.Kerf == b.Kerf && a.Trim == b.Trim && a.Hold == b.Hold;
}

std::map<int, long long> BookedOffcutIds(const OffcutStore& store, const JobInput& input,
                                         const CalculationResult& result) {
    std::map<int, long long> ids;
    const std::string calculation = CalculationIdentity(input, result);
    if (!store.IsBooked(calculation)) return ids;
    for (const BookingRecord& booking : store.Bookings()) {
        if (booking.Calculation != calculation) continue;
        for (const Offcut& offcut : store.List(input.Section.Name)) {
            const OffcutSource& s = offcut.Source;
            if (s.JobFile == booking.JobFile && s.JobReference == booking.JobReference &&
                s.Pattern >= 1)
                ids.emplace(s.Pattern - 1, offcut.Id);
        }
    }
    return ids;
}

}  // namespace tallora
