#include "storage/Settings.h"

#include <gtest/gtest.h>

#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

constexpr auto User = RegistryRoot::CurrentUser;

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { shell.appData = temp.File("appdata"); }
    testing::TempFolder temp;
    MemoryRegistry store;
    testing::FakeShell shell;
};

TEST_F(SettingsTest, ReadCFGDataReadsAndLimitsTheAllowances) {
    Allowances a;
    a.Hold = 75;
    ProgramSettings settings;
    ReadProgramSettings(store, a, settings);  // no key yet: nothing changes
    EXPECT_EQ(a.Hold, 75);

    store.CreateKey(User, MainKey);
    store.WriteInteger(User, MainKey, "Kerf", 0);
    store.WriteInteger(User, MainKey, "Offcut", 20000);
    store.WriteInteger(User, MainKey, "Trim", -3);
    store.WriteInteger(User, MainKey, "Hints", 0);
    store.WriteString(User, MainKey, "Hold", "abc");  // wrong type: absent
    ReadProgramSettings(store, a, settings);
    EXPECT_EQ(a.Kerf, 1);
    EXPECT_EQ(a.Offcut, 18300);
    EXPECT_EQ(a.Trim, 0);
    EXPECT_EQ(a.Hold, 75);
    EXPECT_FALSE(settings.Hints);

    // Out of range in memory is corrected even when nothing is read.
    MemoryRegistry empty;
    empty.CreateKey(User, MainKey);
    Allowances wild{40, 900, 600, 99999, false};
    ReadProgramSettings(empty, wild, settings);
    EXPECT_EQ(wild.Kerf, 10);
    EXPECT_EQ(wild.Trim, 250);
    EXPECT_EQ(wild.Hold, 500);
    EXPECT_EQ(wild.Offcut, 18300);
}

// Each setting overrides the locale's part; one that is no separator or symbol is left out and
// named, the others still apply.
TEST_F(SettingsTest, NumberFormatSettingsOverrideTheLocaleAndBadOnesAreNamed) {
    const char *C = "CurrencySymbol", *D = "DecimalSeparator", *T = "ThousandSeparator";
    struct Case {
        std::vector<std::pair<const char*, const char*>> Values;
        std::string Format;   // symbol, decimal and thousands separators, split by "|"
        std::string Problem;  // part of the message, or "" for none
    };
    const Case cases[] = {
        {{}, "\u00A3|.|,", ""},
        {{{C, "\u20AC"}, {D, ","}, {T, "."}}, "\u20AC|,|.", ""},
        {{{D, ","}}, "\u00A3|,|.", ""},  // the thousands give way
        {{{T, "'"}}, "\u00A3|.|'", ""},
        {{{T, ""}}, "\u00A3|.|", ""},
        {{{D, ";"}, {C, "$"}}, "$|.|,", "DecimalSeparator \";\" is not"},
        {{{T, "."}, {D, "."}}, "\u00A3|.|,", "ThousandSeparator \".\" is not"},
        {{{C, ""}}, "\u00A3|.|,", "CurrencySymbol \"\" is not"},
        {{{C, "Pounds sterling"}}, "\u00A3|.|,", "CurrencySymbol"},
    };
    for (const Case& c : cases) {
        MemoryRegistry registry;
        registry.CreateKey(User, MainKey);
        for (const auto& [name, value] : c.Values) registry.WriteString(User, MainKey, name, value);
        NumberFormat format = NumberFormat::UK();
        const std::string problem = ApplyNumberFormatSettings(registry, format);
        SCOPED_TRACE(c.Values.empty() ? "none" : c.Values.front().first);
        EXPECT_EQ(
            format.CurrencySymbol + "|" + format.DecimalSeparator + "|" + format.ThousandSeparator,
            c.Format);
        EXPECT_EQ(problem.empty(), c.Problem.empty()) << problem;
        EXPECT_NE(problem.find(c.Problem), std::string::npos) << problem;
    }
}

// Optimal's time limit and its threads: a typed number only when it is one of the range, written
// once the first run made the key, and read only when it can be what was written.
TEST_F(SettingsTest, TheOptimalThreadsAreKeptAndABadNumberNeverRead) {
    struct Setting {
        const char* Key;
        std::optional<int> (*Parse)(const std::string&);
        void (*Write)(RegistryStore&, int);
        int ProgramSettings::*Member;
        int Default, Min, Max;
        std::vector<const char*> Bad;
    };
    const Setting settings[] = {
        {"OptimalSeconds",
         ParseOptimalSeconds,
         WriteOptimalSeconds,
         &ProgramSettings::OptimalSeconds,
         10,
         1,
         3600,
         {"", " ", "0", "3601", "-5", "2.5", "1e3", "ten", "00000009", "5 5"}},
        {"OptimalThreads",
         ParseOptimalThreads,
         WriteOptimalThreads,
         &ProgramSettings::OptimalThreads,
         0,
         0,
         64,  // 0: the machine's cores
         {"", "-1", "65", "1.5", "two", "00002", "2 2"}},
    };
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.Key);
        EXPECT_EQ(ProgramSettings{}.*s.Member, s.Default);
        for (const char* text : s.Bad) EXPECT_EQ(s.Parse(text), std::nullopt) << text;
        EXPECT_EQ(s.Parse(std::to_string(s.Min)), s.Min);
        EXPECT_EQ(s.Parse(" 2 "), 2);
        EXPECT_EQ(s.Parse(std::to_string(s.Max)), s.Max);

        MemoryRegistry registry;
        s.Write(registry, 2);
        EXPECT_FALSE(registry.KeyExists(User, MainKey));
        SetUpFirstRun(registry, shell);
        EXPECT_FALSE(registry.ValueExists(User, MainKey, s.Key));
        registry.CreateKey(User, AutoSaveKey);
        s.Write(registry, 2);
        EXPECT_TRUE(registry.KeyExists(User, AutoSaveKey));  // the autosaved inputs stay
        Allowances a;
        ProgramSettings read;
        ReadProgramSettings(registry, a, read);
        ProgramSettings expected;  // each a setting of its own: the other keeps its default
        expected.*s.Member = 2;
        EXPECT_EQ(read.OptimalSeconds, expected.OptimalSeconds);
        EXPECT_EQ(read.OptimalThreads, expected.OptimalThreads);
        for (const int wild : {s.Min - 1, s.Max + 1, 1 << 30}) {
            registry.WriteInteger(User, MainKey, s.Key, wild);
            ProgramSettings fresh;
            ReadProgramSettings(registry, a, fresh);
            EXPECT_EQ(fresh.*s.Member, s.Default) << wild;
        }
        read.*s.Member = s.Max;
        WriteProgramSettings(registry, a, read);
        EXPECT_EQ(registry.ReadInteger(User, MainKey, s.Key), s.Max);
    }
}

// What the windows keep between runs: written only once the first run made the key, and read
// only when it can be what was written.
TEST_F(SettingsTest, TheWindowsGeometryAndTheLanguageAreKeptUnlessTheyCannotBeOnes) {
    WriteWindowGeometry(store, "WindowGeometry", "abc");
    WriteLanguage(store, "de");
    EXPECT_FALSE(ReadWindowGeometry(store, "WindowGeometry").has_value());
    EXPECT_EQ(ReadLanguage(store), "");
    store.CreateKey(User, MainKey);
    WriteWindowGeometry(store, "WindowGeometry", "abc");
    EXPECT_EQ(ReadWindowGeometry(store, "WindowGeometry"), "abc");
    for (const std::string& odd : {std::string(), std::string(4097, 'x')}) {
        store.WriteString(User, MainKey, "FileDialogGeometry", odd);
        EXPECT_FALSE(ReadWindowGeometry(store, "FileDialogGeometry").has_value());
    }
    for (const char* language : {"de", "en", "fr", ""}) {
        WriteLanguage(store, language);
        const std::string kept = language == std::string("fr") ? "" : language;
        EXPECT_EQ(ReadLanguage(store), kept) << language;
    }
}

TEST_F(SettingsTest, TheLastFolderAndTheDataFolderNeverTheRoot) {
    EXPECT_EQ(FolderPart("C:\\Jobs\\Beam.tlf"), "C:\\Jobs\\");
    EXPECT_EQ(FolderPart("/home/ann/jobs/beam.tlf"), "/home/ann/jobs/");
    EXPECT_EQ(FolderPart("C:beam.tlf"), "C:");
    EXPECT_EQ(FolderPart("beam.tlf"), "");
    EXPECT_EQ(FolderPart(""), "");
    EXPECT_EQ(FileNamePart("C:\\Jobs\\Beam.run.tlf"), "Beam.run.tlf");
    EXPECT_EQ(FileNamePart("C:beam.tlf"), "beam.tlf");

    WriteLastDir(store, "/home/ann/jobs/beam.tlf");  // no main key: nothing
    EXPECT_FALSE(ReadLastDir(store).has_value());
    // A missing data folder falls back to the default.
    const std::string fallback = shell.appData + "/Vantorel/Tallora/Cutting Lists";
    EXPECT_EQ(DataDirOrDefault(store, shell), fallback);

    store.CreateKey(User, MainKey);
    store.WriteString(User, MainKey, "DataDir", "");
    EXPECT_EQ(DataDirOrDefault(store, shell), fallback);
    store.WriteString(User, MainKey, "DataDir", "/srv/jobs");
    EXPECT_EQ(DataDirOrDefault(store, shell), "/srv/jobs");
    EXPECT_EQ(InitialDialogFolder(store, shell), "/srv/jobs");
    WriteLastDir(store, "/tmp/x.tlf");
    EXPECT_EQ(InitialDialogFolder(store, shell), "/tmp/");
    WriteLastDir(store, "/home/ann/jobs/beam.tlf");
    EXPECT_EQ(ReadLastDir(store), "/home/ann/jobs/");
    WriteLastDir(store, "");
    EXPECT_EQ(ReadLastDir(store), "");
}

}  // namespace
}  // namespace tallora
