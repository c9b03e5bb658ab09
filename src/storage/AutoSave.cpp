#include "storage/AutoSave.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "entry/Allowances.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

namespace {

constexpr auto User = RegistryRoot::CurrentUser;

std::vector<std::uint8_t> LittleEndian(std::uint64_t bits) {
    std::vector<std::uint8_t> bytes(8);
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return bytes;
}

std::optional<std::uint64_t> FromLittleEndian(
    const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes || bytes->size() != 8) return std::nullopt;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | (*bytes)[i];
    return bits;
}

std::vector<std::uint8_t> DoubleBytes(double value) {
    return LittleEndian(std::bit_cast<std::uint64_t>(value));
}

std::optional<double> ReadDouble(const RegistryStore& store, const std::string& name) {
    const auto bits = FromLittleEndian(store.ReadBinary(User, AutoSaveKey, name));
    if (!bits) return std::nullopt;
    const double value = std::bit_cast<double>(*bits);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// "a;b;c;" from the rows' texts.
template <typename Field>
std::string Joined(const std::vector<ListRow>& rows, Field field) {
    std::string text;
    for (const auto& row : rows) text += field(row) + ";";
    return text;
}

// The text before the first ";", removed with it.
std::string TakeItem(std::string& list) {
    const auto at = list.find(';');
    std::string item = list.substr(0, at);
    list.erase(0, at == std::string::npos ? list.size() : at + 1);
    return item;
}

// Appends `count` rows from the two lists, never more than the list holds.
void RecoverRows(const RegistryStore& store, const char* countName, const char* lengthName,
                 const char* quantityName, bool stock, std::vector<ListRow>& rows) {
    const int capacity = stock ? MaxStockRows : MaxCutRows;
    int count = store.ReadInteger(User, AutoSaveKey, countName).value_or(0);
    std::string lengths = store.ReadString(User, AutoSaveKey, lengthName).value_or("");
    std::string quantities = store.ReadString(User, AutoSaveKey, quantityName).value_or("");
    for (; count > 0 && static_cast<int>(rows.size()) < capacity; --count) {
        if (lengths.empty() && quantities.empty()) break;
        std::string length = TakeItem(lengths);
        std::string quantity = TakeItem(quantities);
        if (stock && quantity == "-1") quantity = "*";
        rows.push_back({quantity, length});
    }
}

}  // namespace

std::string StoredChargeName(const std::string& name, const char* defaultName) {
    return name == defaultName ? std::string() : name;
}

void ApplyStoredChargeName(std::string& name, const std::string& stored) {
    if (!stored.empty()) name = stored;
}

void AutoSave(RegistryStore& store, const JobInput& input) {
    if (!store.KeyExists(User, MainKey)) return;
    if (!store.CreateKey(User, AutoSaveKey)) return;
    auto integer = [&](const char* name, std::int32_t v) {
        store.WriteInteger(User, AutoSaveKey, name, v);
    };
    auto text = [&](const char* name, const std::string& v) {
        store.WriteString(User, AutoSaveKey, name, v);
    };
    auto number = [&](const char* name, double v) {
        store.WriteBinary(User, AutoSaveKey, name, DoubleBytes(v));
    };

    integer("SCount", static_cast<std::int32_t>(input.StockRows.size()));
    text("SL", Joined(input.StockRows, [](const ListRow& r) { return r.Length; }));
    text("SQ", Joined(input.StockRows, [](const ListRow& r) {
             return IsUnlimitedQuantity(r.Quantity) ? std::string("-1") : r.Quantity;
         }));
    integer("OCount", static_cast<std::int32_t>(input.CutRows.size()));
    text("OL", Joined(input.CutRows, [](const ListRow& r) { return r.Length; }));
    text("OQ", Joined(input.CutRows, [](const ListRow& r) { return r.Quantity; }));
    // Marks may hold ";" but never a line break.
    std::string marks;
    for (const auto& row : input.CutRows) marks += row.Mark + "\n";
    text("OM", marks);

    const Allowances& a = input.Allowances;
    text("Units", UnitsText(input.Units));
    for (const AllowanceFieldInfo& f : AllowanceFields) integer(f.Name, a.*f.Member);
    const SectionData& s = input.Section;
    text("Customer", s.Customer);
    text("Reference", s.Reference);
    text("Section", s.Name);
    number("Weight", s.Weight);
    const auto cost = static_cast<std::int64_t>(std::llround(s.Cost * 10000));
    store.WriteBinary(User, AutoSaveKey, "CostNew", LittleEndian(static_cast<std::uint64_t>(cost)));
    text("CostType", s.CostType);

    const CostingSettings& c = input.Costing;
    for (const ChargeField& f : ChargeFields) {
        text(f.BasisName, c.*f.Basis);
        number(f.ValueName, c.*f.Value);
    }
    for (const ChargeNameField& f : ChargeNameFields)
        text(f.Name, StoredChargeName(c.*f.Member, f.Default));
}

bool HasAutoSavedInputs(const RegistryStore& store) { return store.KeyExists(User, AutoSaveKey); }

void RecoverInputs(const RegistryStore& store, JobInput& input) {
    RecoverRows(store, "SCount", "SL", "SQ", true, input.StockRows);
    const size_t firstCut = input.CutRows.size();
    RecoverRows(store, "OCount", "OL", "OQ", false, input.CutRows);
    if (auto marks = store.ReadString(User, AutoSaveKey, "OM")) {
        size_t at = 0;
        for (size_t k = firstCut; k < input.CutRows.size() && at < marks->size(); ++k) {
            const size_t end = std::min(marks->find('\n', at), marks->size());
            input.CutRows[k].Mark = marks->substr(at, end - at);
            at = end + 1;
        }
    }

    // Values an autosave always writes read as 0 or empty when missing.
    auto integer = [&](const char* name) {
        return store.ReadInteger(User, AutoSaveKey, name).value_or(0);
    };
    auto text = [&](const char* name) {
        return store.ReadString(User, AutoSaveKey, name).value_or("");
    };
    // An autosave of before the units was metric.
    input.Units = UnitsFromText(text("Units")).value_or(JobUnits::Metric());
    Allowances& a = input.Allowances;
    for (const AllowanceFieldInfo& f : AllowanceFields)
        SetAllowance(a, f.Field, integer(f.Name), input.Units);

    SectionData& s = input.Section;
    s.Customer = text("Customer");
    s.Reference = text("Reference");
    s.Name = text("Section");
    s.Weight = ReadDouble(store, "Weight").value_or(0.0);
    const auto cost = FromLittleEndian(store.ReadBinary(User, AutoSaveKey, "CostNew"));
    s.Cost = cost ? static_cast<double>(static_cast<std::int64_t>(*cost)) / 10000 : 0.0;
    const std::string costType = text("CostType");
    s.CostType =
        costType == "Tonne" || (costType == "Cwt" && input.Units.Imperial()) ? costType : "Metre";

    CostingSettings& c = input.Costing;
    for (const ChargeField& f : ChargeFields) {
        if (auto basis = store.ReadString(User, AutoSaveKey, f.BasisName)) c.*f.Basis = *basis;
        if (auto value = ReadDouble(store, f.ValueName)) c.*f.Value = *value;
    }
    const bool anyName = std::any_of(
        ChargeNameFields.begin(), ChargeNameFields.end(),
        [&](const auto& f) { return store.ReadString(User, AutoSaveKey, f.Name).has_value(); });
    if (anyName) {
        for (const ChargeNameField& f : ChargeNameFields)
            ApplyStoredChargeName(c.*f.Member, text(f.Name));
    }
}

}  // namespace tallora
