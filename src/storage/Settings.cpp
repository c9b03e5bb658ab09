#include "storage/Settings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "costing/CostingFields.h"
#include "entry/Allowances.h"

namespace tallora {

namespace {

constexpr auto User = RegistryRoot::CurrentUser;

struct DefaultValue {
    const char* name;
    std::int32_t value;
};
constexpr DefaultValue kDefaults[] = {
    {"Hints", 1}, {"Kerf", 3}, {"Trim", 25}, {"Hold", 0}, {"Offcut", 3000}};

std::string Join(const std::string& folder, char separator, const std::string& name) {
    return folder + separator + name;
}

// Where the installer put the program; outside Windows, the running program's folder when the
// machine key gives none.
std::string InstallationFolder(RegistryStore& store, ShellServices& shell) {
    const std::string path =
        store.ReadString(RegistryRoot::LocalMachine, AppPathsKey, "Path").value_or("");
#if defined(_WIN32)
    return path;
#else
    return path.empty() ? shell.ProgramFolder() : path;
#endif
}

}  // namespace

std::string SystemShell::LocalAppDataFolder() {
#if defined(_WIN32)
    const char* folder = std::getenv("LOCALAPPDATA");
    return folder != nullptr ? folder : "";
#else
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
        return data;
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return "";
    return std::string(home) + "/.local/share";
#endif
}

std::string SystemShell::ProgramFolder() {
    std::error_code ec;
#if defined(__linux__)
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path().string();
#endif
    const auto here = std::filesystem::current_path(ec);
    return ec ? std::string() : here.string();
}

bool SystemShell::CreateFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

char SystemShell::PathSeparator() const {
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

std::string GetSpecialFolderPath(ShellServices& shell, int folder) {
    return folder == CSIDL_LOCAL_APPDATA ? shell.LocalAppDataFolder() : std::string();
}

std::string DefaultDataDir(RegistryStore& store, ShellServices& shell) {
    const char sep = shell.PathSeparator();
    const std::string appData = GetSpecialFolderPath(shell, CSIDL_LOCAL_APPDATA);
    if (!appData.empty()) {
        return Join(Join(Join(appData, sep, "Vantorel"), sep, "Tallora"), sep, "Cutting Lists");
    }
    return Join(InstallationFolder(store, shell), sep, "Cutting Lists");
}

void SetUpFirstRun(RegistryStore& store, ShellServices& shell) {
    const std::string install = InstallationFolder(store, shell);
    if (!store.CreateKey(User, MainKey)) return;
    if (store.ValueExists(User, MainKey, "RSet")) return;

    store.WriteString(User, MainKey, "InstallDir", install);
    store.WriteString(User, MainKey, "HelpDir", Join(install, shell.PathSeparator(), "Help"));
    store.WriteString(User, MainKey, "DataDir", DefaultDataDir(store, shell));
    store.WriteString(User, MainKey, "RSet", "True");
    for (const auto& d : kDefaults) store.WriteInteger(User, MainKey, d.name, d.value);
    shell.NotifyAssociationsChanged();

    if (const auto dataDir = store.ReadString(User, MainKey, "DataDir");
        dataDir && !dataDir->empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*dataDir, ec)) shell.CreateFolders(*dataDir);
    }
}

void ReadProgramSettings(const RegistryStore& store, Allowances& allowances,
                         ProgramSettings& settings) {
    if (!store.KeyExists(User, MainKey)) return;
    if (const auto hints = store.ReadInteger(User, MainKey, "Hints")) settings.Hints = *hints != 0;
    // The allowances are kept in the lengths of the units new jobs take.
    const JobUnits units = ReadDefaultUnits(store);
    for (const AllowanceFieldInfo& f : AllowanceFields) {
        const auto v = store.ReadInteger(User, MainKey, f.Name);
        SetAllowance(allowances, f.Field, v.value_or(allowances.*f.Member), units);
    }
    // Kept apart from the first-run values; one out of range is ignored.
    if (const auto v = store.ReadInteger(User, MainKey, "OptimalSeconds");
        v && *v >= MinOptimalSeconds && *v <= MaxOptimalSeconds) {
        settings.OptimalSeconds = *v;
    }
    if (const auto v = store.ReadInteger(User, MainKey, "OptimalThreads");
        v && *v >= 0 && *v <= MaxOptimalThreads) {
        settings.OptimalThreads = *v;
    }
}

void WriteProgramSettings(RegistryStore& store, const Allowances& allowances,
                          const ProgramSettings& settings) {
    if (!store.KeyExists(User, MainKey)) return;
    const std::int32_t current[] = {settings.Hints ? 1 : 0, allowances.Kerf, allowances.Trim,
                                    allowances.Hold, allowances.Offcut};
    for (size_t i = 0; i < std::size(kDefaults); ++i) {
        // A value that is missing (or of another type) gets its first-run default back.
        const bool exists = store.ReadInteger(User, MainKey, kDefaults[i].name).has_value();
        store.WriteInteger(User, MainKey, kDefaults[i].name,
                           exists ? current[i] : kDefaults[i].value);
    }
    WriteOptimalSeconds(store, settings.OptimalSeconds);
    WriteOptimalThreads(store, settings.OptimalThreads);
    if (store.KeyExists(User, AutoSaveKey)) store.DeleteKey(User, AutoSaveKey);
}

std::optional<std::string> ReadWindowGeometry(const RegistryStore& store, const std::string& name) {
    auto geometry = store.ReadString(User, MainKey, name);
    // Far longer than any real one: not worth handing on.
    if (geometry && (geometry->empty() || geometry->size() > 4096)) return std::nullopt;
    return geometry;
}

void WriteWindowGeometry(RegistryStore& store, const std::string& name,
                         const std::string& geometry) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteString(User, MainKey, name, geometry);
}

JobUnits ReadDefaultUnits(const RegistryStore& store) {
    const auto text = store.ReadString(User, MainKey, "Units");
    return text ? UnitsFromText(*text).value_or(JobUnits::Metric()) : JobUnits::Metric();
}

void WriteDefaultUnits(RegistryStore& store, const JobUnits& units) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteString(User, MainKey, "Units", UnitsText(units));
}

std::string ApplyNumberFormatSettings(const RegistryStore& store, NumberFormat& format) {
    std::string problems;
    auto refuse = [&problems](const std::string& name, const std::string& value,
                              const std::string& rule) {
        problems += (problems.empty() ? "" : "\r\n") + name + " \"" + value + "\" is not " + rule +
                    ": the locale's is used.";
    };
    NumberFormat wanted = format;
    if (const auto symbol = store.ReadString(User, MainKey, "CurrencySymbol")) {
        const bool printable = std::none_of(symbol->begin(), symbol->end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20;
        });
        if (symbol->empty() || symbol->size() > 8 || !printable)
            refuse("CurrencySymbol", *symbol, "a currency symbol of 1 to 8 characters");
        else
            wanted.CurrencySymbol = *symbol;
    }
    if (const auto decimal = store.ReadString(User, MainKey, "DecimalSeparator")) {
        if (*decimal != "." && *decimal != ",")
            refuse("DecimalSeparator", *decimal, "\".\" or \",\"");
        else
            wanted.DecimalSeparator = *decimal;
    }
    if (const auto thousands = store.ReadString(User, MainKey, "ThousandSeparator")) {
        const bool known = *thousands == "" || *thousands == "." || *thousands == "," ||
                           *thousands == "'" || *thousands == " ";
        if (!known || *thousands == wanted.DecimalSeparator) {
            refuse("ThousandSeparator", *thousands,
                   "empty, \".\", \",\", \"'\" or a blank other than the decimal separator");
        } else {
            wanted.ThousandSeparator = *thousands;
        }
    }
    // A decimal separator that the locale's thousands separator now equals takes it over.
    if (wanted.ThousandSeparator == wanted.DecimalSeparator)
        wanted.ThousandSeparator = wanted.DecimalSeparator == "," ? "." : ",";
    format = wanted;
    return problems;
}

std::string ReadLanguage(const RegistryStore& store) {
    const auto text = store.ReadString(User, MainKey, "Language").value_or("");
    return text == "en" || text == "de" ? text : std::string();
}

void WriteLanguage(RegistryStore& store, const std::string& language) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteString(User, MainKey, "Language", language);
}

void WriteOptimalSeconds(RegistryStore& store, int seconds) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteInteger(User, MainKey, "OptimalSeconds", seconds);
}

void WriteOptimalThreads(RegistryStore& store, int threads) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteInteger(User, MainKey, "OptimalThreads", threads);
}

namespace {

// A whole number of at most four digits from `least` to `most`, spaces around it allowed.
std::optional<int> ParseWholeNumber(const std::string& text, int least, int most) {
    std::size_t from = text.find_first_not_of(' ');
    std::size_t to = text.find_last_not_of(' ');
    if (from == std::string::npos) return std::nullopt;
    const std::string digits = text.substr(from, to - from + 1);
    if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(digits);
    if (number < least || number > most) return std::nullopt;
    return number;
}

}  // namespace

std::optional<int> ParseOptimalSeconds(const std::string& text) {
    return ParseWholeNumber(text, MinOptimalSeconds, MaxOptimalSeconds);
}

std::optional<int> ParseOptimalThreads(const std::string& text) {
    return ParseWholeNumber(text, 0, MaxOptimalThreads);
}

std::string FolderPart(const std::string& path) {
    const auto at = path.find_last_of("\\/:");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNamePart(const std::string& path) { return path.substr(FolderPart(path).size()); }

void WriteLastDir(RegistryStore& store, const std::string& jobPath) {
    if (!store.KeyExists(User, MainKey)) return;
    store.WriteString(User, MainKey, "LastDir", FolderPart(jobPath));
}

std::optional<std::string> ReadLastDir(const RegistryStore& store) {
    return store.ReadString(User, MainKey, "LastDir");
}

std::string DataDirOrDefault(RegistryStore& store, ShellServices& shell) {
    const auto dataDir = store.ReadString(User, MainKey, "DataDir");
    if (dataDir && !dataDir->empty()) return *dataDir;
    return DefaultDataDir(store, shell);
}

std::string InitialDialogFolder(RegistryStore& store, ShellServices& shell) {
    if (auto last = ReadLastDir(store)) return *last;
    return DataDirOrDefault(store, shell);
}

void LoadChargeNames(const RegistryStore& store, CostingSettings& settings) {
    if (!store.KeyExists(User, MainKey)) return;
    for (const ChargeNameField& f : ChargeNameFields) {
        if (auto name = store.ReadString(User, MainKey, f.Name)) settings.*f.Member = *name;
    }
}

void WriteChargeNames(RegistryStore& store, const CostingSettings& settings) {
    if (!store.CreateKey(User, MainKey)) return;
    for (const ChargeNameField& f : ChargeNameFields)
        store.WriteString(User, MainKey, f.Name, settings.*f.Member);
}

}  // namespace tallora
