#pragma once

#include <optional>
#include <string>

#include "engine/OptimalAlgorithm.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"
#include "storage/RegistryStore.h"

namespace tallora {

// What the settings need of the platform besides the registry.
class ShellServices {
public:
    virtual ~ShellServices() = default;
    // The current user's local application-data folder, or empty when there is none.
    virtual std::string LocalAppDataFolder() = 0;
    // The folder of the running program, without a trailing separator.
    virtual std::string ProgramFolder() = 0;
    // Tells the desktop that file associations changed.
    virtual void NotifyAssociationsChanged() = 0;
    // Creates a folder and its missing parents; false when it cannot.
    virtual bool CreateFolders(const std::string& path) = 0;
    virtual char PathSeparator() const = 0;
};

// The platform's own answers: environment variables and the file system.
class SystemShell : public ShellServices {
public:
    std::string LocalAppDataFolder() override;
    std::string ProgramFolder() override;
    void NotifyAssociationsChanged() override {}
    bool CreateFolders(const std::string& path) override;
    char PathSeparator() const override;
};

// Shell folder number of the local application-data folder.
inline constexpr int CSIDL_LOCAL_APPDATA = 28;

// The path of a shell special folder, or empty when the shell cannot give it.
std::string GetSpecialFolderPath(ShellServices& shell, int folder);

// The time the Optimal algorithm may search, in whole seconds.
inline constexpr int MinOptimalSeconds = 1;
inline constexpr int MaxOptimalSeconds = 3600;

// The threads the Optimal algorithm may use; 0 stands for the machine's cores.
inline constexpr int MaxOptimalThreads = 64;

// The settings kept beside the job: whether hints are shown, and how long and on how many
// threads Optimal searches.
struct ProgramSettings {
    bool Hints = true;
    int OptimalSeconds = static_cast<int>(DefaultOptimalSeconds);
    int OptimalThreads = 0;
};

// The seconds typed for the Optimal algorithm's time limit, or nothing when the text is not a
// whole number from MinOptimalSeconds to MaxOptimalSeconds.
std::optional<int> ParseOptimalSeconds(const std::string& text);
// The same for the threads: a whole number from 0 (the machine's cores) to MaxOptimalThreads.
std::optional<int> ParseOptimalThreads(const std::string& text);
// A window's size and place, as the window system wrote it (an opaque text), under a value name
// of the main key: "WindowGeometry" for the main window, "FileDialogGeometry" for file dialogs.
std::optional<std::string> ReadWindowGeometry(const RegistryStore& store, const std::string& name);
void WriteWindowGeometry(RegistryStore& store, const std::string& name,
                         const std::string& geometry);

// The units a new job takes (Options); metric when the setting is missing or not one.
JobUnits ReadDefaultUnits(const RegistryStore& store);
void WriteDefaultUnits(RegistryStore& store, const JobUnits& units);

// The settings "CurrencySymbol", "DecimalSeparator" and "ThousandSeparator", where present,
// override the locale's: a symbol of 1 to 8 characters, a decimal separator "." or ",", a
// thousands separator "", ".", ",", "'" or " " other than the decimal one. A value that is none
// of these is left out and named in the returned message (empty when all is well).
std::string ApplyNumberFormatSettings(const RegistryStore& store, NumberFormat& format);

// The desktop's language: "" for the system's, or "en" or "de".
std::string ReadLanguage(const RegistryStore& store);
void WriteLanguage(RegistryStore& store, const std::string& language);

// Keeps a new time limit at once, touching no other setting.
void WriteOptimalSeconds(RegistryStore& store, int seconds);
inline const char* const OptimalSecondsPrompt =
    "Seconds the Optimal algorithm may search (1 to 3600):";
inline const char* const BadOptimalSecondsText =
    "The time limit must be a whole number of seconds from 1 to 3600.";
// Keeps a new number of threads at once, touching no other setting.
void WriteOptimalThreads(RegistryStore& store, int threads);
inline const char* const OptimalThreadsPrompt =
    "Threads the Optimal algorithm may use (1 to 64, or 0 for all the machine's cores):";
inline const char* const BadOptimalThreadsText =
    "The number of threads must be a whole number from 0 to 64.";

// First run: writes the defaults and creates the data folder; later runs change nothing.
void SetUpFirstRun(RegistryStore& store, ShellServices& shell);
// Reads hints and allowances; the allowances are brought into range, read or not.
void ReadProgramSettings(const RegistryStore& store, Allowances& allowances,
                         ProgramSettings& settings);
// Writes hints and allowances back (defaults where a value is missing) and removes the
// autosaved inputs: a normal end.
void WriteProgramSettings(RegistryStore& store, const Allowances& allowances,
                          const ProgramSettings& settings);

// The folder part of a path: up to and including its last "\", "/" or ":".
std::string FolderPart(const std::string& path);
// The file name part of a path: after its last "\", "/" or ":".
std::string FileNamePart(const std::string& path);
// Writes LastDir: the folder of the job file (empty for an empty path).
void WriteLastDir(RegistryStore& store, const std::string& jobPath);
// LastDir, when it exists.
std::optional<std::string> ReadLastDir(const RegistryStore& store);

// The names of the further charges are user settings: string values "OtherName1" to
// "OtherName3" of the main key. Loading replaces each name whose value exists; a missing key
// changes nothing.
void LoadChargeNames(const RegistryStore& store, CostingSettings& settings);
// Writes all three names, defaults included, creating the key; a key that cannot be created or
// written is passed over.
void WriteChargeNames(RegistryStore& store, const CostingSettings& settings);

// The data folder of a first run.
std::string DefaultDataDir(RegistryStore& store, ShellServices& shell);
// DataDir as stored, or the default data folder when it is missing or empty.
std::string DataDirOrDefault(RegistryStore& store, ShellServices& shell);

// The folder the file dialogs start in: LastDir when it exists, else DataDir.
std::string InitialDialogFolder(RegistryStore& store, ShellServices& shell);

}  // namespace tallora
