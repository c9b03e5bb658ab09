#include "cli/InventoryCommand.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>

#include "cli/CliApp.h"
#include "cli/Options.h"
#include "cli/Terminal.h"
#include "commands/Inventory.h"
#include "job/Capacities.h"
#include "storage/SafeFile.h"
#include "storage/Settings.h"

namespace tallora::cli {

namespace {

// A registry with nothing in it: the command line without settings still finds the default
// data folder.
class EmptyRegistry : public RegistryStore {
public:
    bool KeyExists(RegistryRoot, const std::string&) const override { return false; }
    bool CreateKey(RegistryRoot, const std::string&) override { return false; }
    bool DeleteKey(RegistryRoot, const std::string&) override { return false; }
    bool ValueExists(RegistryRoot, const std::string&, const std::string&) const override {
        return false;
    }
    std::optional<std::string> ReadString(RegistryRoot, const std::string&,
                                          const std::string&) const override {
        return {};
    }
    std::optional<std::int32_t> ReadInteger(RegistryRoot, const std::string&,
                                            const std::string&) const override {
        return {};
    }
    std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryRoot, const std::string&,
                                                        const std::string&) const override {
        return {};
    }
    bool WriteString(RegistryRoot, const std::string&, const std::string&,
                     const std::string&) override {
        return false;
    }
    bool WriteInteger(RegistryRoot, const std::string&, const std::string&, std::int32_t) override {
        return false;
    }
    bool WriteBinary(RegistryRoot, const std::string&, const std::string&,
                     const std::vector<std::uint8_t>&) override {
        return false;
    }
};

// The inventory's file: --inventory, else the settings' data folder, else the default one.
}  // namespace

std::string InventoryFile(const std::optional<std::string>& given, RegistryStore* settings) {
    if (given) {
        if (given->empty()) throw BadInput("--inventory: expected a file name");
        return *given;
    }
    SystemShell shell;
    if (settings != nullptr) return InventoryPath(*settings, shell);
    EmptyRegistry none;
    return InventoryPath(none, shell);
}

// The inventory opened; one that cannot be (damaged, newer, no folder) is bad input, left as
// it is.
OffcutStore OpenInventoryFile(const std::string& path) {
    try {
        SystemShell shell;
        return OpenInventory(path, shell);
    } catch (const InventoryError& e) {
        throw BadInput(e.what());
    }
}

CLI::App* AddInventoryCommands(CLI::App& app, InventoryOptions& io) {
    CLI::App* inventory = app.add_subcommand(
        "inventory", "The offcut inventory: list, add, remove or export its offcuts");
    inventory->require_subcommand(1);
    const auto fileOption = [&](CLI::App* command) {
        command
            ->add_option("--inventory", io.File,
                         "The offcut inventory FILE (default: \"" + std::string(InventoryFileName) +
                             "\" in the data folder)")
            ->type_name("FILE");
    };
    const auto sectionOption = [&](CLI::App* command, const std::string& what) {
        command
            ->add_option("--section", io.Section,
                         what + " of section S only (letter case and surrounding blanks aside)")
            ->type_name("S");
    };
    io.List =
        inventory->add_subcommand("list", "List the offcuts, then the metres of each section");
    sectionOption(io.List, "The offcuts");
    io.List->add_option("--format", io.Format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}));
    fileOption(io.List);

    io.Add = inventory->add_subcommand("add", "Add offcuts by hand and print the new offcut's id");
    io.Add->add_option("SECTION", io.AddSection, "The section")->required();
    io.Add->add_option("LENGTH", io.AddLength, "The length in mm")->required();
    io.Add->add_option("COUNT", io.AddCount, "The pieces")->required();
    io.Add->add_option("--location", io.Location, "Where the offcuts are kept")->type_name("TEXT");
    fileOption(io.Add);

    io.Remove = inventory->add_subcommand("remove", "Take pieces of an offcut away");
    io.Remove->add_option("ID", io.RemoveId, "The offcut's id, as listed")->required();
    io.Remove->add_option("COUNT", io.RemoveCount, "The pieces taken (default: all)");
    fileOption(io.Remove);

    io.ExportCsv = inventory->add_subcommand("export", "Write the offcuts to a CSV file");
    io.ExportCsv->add_option("FILE", io.ExportFile, "The CSV file")->required();
    sectionOption(io.ExportCsv, "The offcuts");
    fileOption(io.ExportCsv);
    return inventory;
}

namespace {

// A whole number from 1 to `max` given as an argument of an inventory command; `expected` says
// what it should be.
long long CountArgument(const std::string& what, const std::string& text, long long max,
                        const std::string& expected) {
    long long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last || value < 1 || value > max)
        throw BadInput(what + " " + text + ": expected " + expected);
    return value;
}

nlohmann::json SourceJson(const OffcutSource& source) {
    if (source.JobFile.empty() && source.JobReference.empty() && source.Pattern == 0)
        return nullptr;
    return {{"job_file", source.JobFile},
            {"job_reference", source.JobReference},
            {"pattern", source.Pattern}};
}

nlohmann::json InventoryListJson(const std::string& path, const std::optional<std::string>& section,
                                 const std::vector<Offcut>& offcuts,
                                 const std::vector<SectionTotal>& totals) {
    nlohmann::json list = nlohmann::json::array();
    for (const Offcut& o : offcuts) {
        list.push_back({{"id", o.Id},
                        {"section", o.Section},
                        {"length_mm", o.Length},
                        {"count", o.Count},
                        {"source", SourceJson(o.Source)},
                        {"booked_at", o.BookedAt},
                        {"location", o.Location.empty() ? nlohmann::json(nullptr)
                                                        : nlohmann::json(o.Location)}});
    }
    nlohmann::json sums = nlohmann::json::array();
    for (const SectionTotal& t : totals) {
        sums.push_back({{"section", t.Section},
                        {"rows", t.Rows},
                        {"pieces", t.Pieces},
                        {"total_mm", t.TotalLength},
                        {"metres", static_cast<double>(t.TotalLength) / 1000.0}});
    }
    return {{"schema_version", JsonSchemaVersion},
            {"version", TALLORA_VERSION},
            {"inventory", path},
            {"section", section ? nlohmann::json(*section) : nlohmann::json(nullptr)},
            {"offcuts", list},
            {"totals", sums}};
}

// "beam.tlf J-1 #2": where an offcut came from, short enough for a table.
std::string SourceText(const OffcutSource& source) {
    std::string text = FileNamePart(source.JobFile);
    if (!source.JobReference.empty()) text += (text.empty() ? "" : " ") + source.JobReference;
    if (source.Pattern > 0) text += (text.empty() ? "#" : " #") + std::to_string(source.Pattern);
    return text;
}

void PrintInventoryList(std::ostream& out, const std::optional<std::string>& section,
                        const std::vector<Offcut>& offcuts,
                        const std::vector<SectionTotal>& totals) {
    if (offcuts.empty()) {
        out << "The offcut inventory holds no offcuts"
            << (section ? " of section \"" + Printable(*section) + "\"" : "") << ".\n";
        return;
    }
    std::vector<std::vector<std::string>> table = {
        {"Id", "Section", "Length mm", "Count", "Source", "Booked at", "Location"}};
    for (const Offcut& o : offcuts) {
        table.push_back({std::to_string(o.Id), Printable(o.Section), std::to_string(o.Length),
                         std::to_string(o.Count), Printable(SourceText(o.Source)), o.BookedAt,
                         Printable(o.Location)});
    }
    std::vector<size_t> widths(table.front().size(), 0);
    for (const auto& row : table) {
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Width(row[c]));
    }
    // Numbers to the right, as in the cutting list.
    const std::vector<bool> right = {true, false, true, true, false, false, false};
    for (const auto& row : table) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c)
            line += (c == 0 ? "" : "  ") + Pad(row[c], widths[c], right[c]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
    out << "\n";
    for (const SectionTotal& t : totals) {
        out << Printable(t.Section) << ": " << t.Rows << (t.Rows == 1 ? " row, " : " rows, ")
            << t.Pieces << (t.Pieces == 1 ? " piece, " : " pieces, ")
            << InventoryMetres(t.TotalLength) << "\n";
    }
}

// inventory add: the new offcut's id on standard output.
void AddOffcut(const InventoryOptions& io, const std::string& path, std::ostream& out) {
    NewOffcut offcut;
    offcut.Section = TextArgument(io.AddSection);
    if (SectionKey(offcut.Section).empty())
        throw BadInput("inventory add: the section cannot be blank");
    offcut.Length = static_cast<int>(
        CountArgument("inventory add: length", io.AddLength, MaxLength,
                      "a whole number of millimetres from 1 to " + std::to_string(MaxLength)));
    offcut.Count = static_cast<int>(CountArgument("inventory add: count", io.AddCount,
                                                  std::numeric_limits<int>::max(),
                                                  "a whole number of pieces, at least 1"));
    if (io.Location) offcut.Location = TextArgument(*io.Location);
    OffcutStore store = OpenInventoryFile(path);
    out << store.Add(offcut) << "\n";
}

// inventory remove: what was taken and what is left.
void RemoveOffcut(const InventoryOptions& io, const std::string& path, std::ostream& out) {
    const long long id =
        CountArgument("inventory remove: id", io.RemoveId, std::numeric_limits<long long>::max(),
                      "an offcut's id, as inventory list shows it");
    const int count =
        io.RemoveCount ? static_cast<int>(CountArgument("inventory remove: count", *io.RemoveCount,
                                                        std::numeric_limits<int>::max(),
                                                        "a whole number of pieces, at least 1"))
                       : 0;
    OffcutStore store = OpenInventoryFile(path);
    const std::optional<Offcut> offcut = store.Find(id);
    if (!offcut) {
        throw BadInput("inventory remove " + io.RemoveId + ": offcut " + io.RemoveId +
                       " is not in the offcut inventory");
    }
    store.Remove(id, count);
    const int taken = count == 0 ? offcut->Count : std::min(count, offcut->Count);
    out << "Took " << taken << (taken == 1 ? " piece" : " pieces") << " of offcut " << id << " ("
        << Printable(offcut->Section) << ", " << offcut->Length << "mm); " << offcut->Count - taken
        << " left.\n";
}

void ListOffcuts(const InventoryOptions& io, const std::string& path,
                 const std::optional<std::string>& section, std::ostream& out) {
    const OffcutStore store = OpenInventoryFile(path);
    const std::vector<Offcut> offcuts = store.List(section);
    std::vector<SectionTotal> totals = store.TotalsBySection();
    if (section) {
        std::erase_if(totals, [&](const SectionTotal& t) {
            return SectionKey(t.Section) != SectionKey(*section);
        });
    }
    if (io.Format == "json") {
        out << InventoryListJson(path, section, offcuts, totals)
                   .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << "\n";
    } else {
        PrintInventoryList(out, section, offcuts, totals);
    }
}

}  // namespace

int RunInventoryCommand(const InventoryOptions& io, const std::optional<std::string>& mainFile,
                        RegistryStore* settings, std::ostream& out, std::ostream& err) {
    try {
        if (io.ExportCsv->parsed()) CheckOutputFile("inventory export", io.ExportFile);
        std::optional<std::string> section;
        if (io.Section) section = TextArgument(*io.Section);
        const std::string path = InventoryFile(io.File ? io.File : mainFile, settings);
        // Arguments are checked before the file is opened, or made.
        if (io.Add->parsed()) {
            AddOffcut(io, path, out);
        } else if (io.Remove->parsed()) {
            RemoveOffcut(io, path, out);
        } else if (io.ExportCsv->parsed()) {
            const OffcutStore store = OpenInventoryFile(path);
            const std::string error = WriteFileSafely(io.ExportFile, store.ExportCsv(section));
            if (!error.empty()) throw BadInput("inventory export " + io.ExportFile + ": " + error);
        } else {
            ListOffcuts(io, path, section, out);
        }
    } catch (const BadInput& e) {
        Complain(err, e.what());
        return ExitBadInput;
    } catch (const InventoryError& e) {
        Complain(err, e.what());
        return ExitBadInput;
    }
    if (!out.flush()) {
        Complain(err, std::string("the output could not be written: ") + std::strerror(errno));
        return ExitBadInput;
    }
    return ExitSuccess;
}

}  // namespace tallora::cli
