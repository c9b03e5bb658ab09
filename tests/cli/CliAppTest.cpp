// What the recorded transcripts of CliOutputRegressionTest do not pin down: bad arguments and
// files, exit statuses, options the transcripts never give, and the picture outputs.
#include "cli/CliApp.h"
#include "support/CliTestSupport.h"
#include "support/TestJob.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "report/PdfReport.h"
#include "support/CsvReading.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::CliRun;
using testing::ExpectExit;
using testing::RunTool;
using testing::With;

// The report on the recording engine (saved as its plain-text record); diagrams as asked.
class FakePictures : public PictureOutput {
public:
    RecordingPrintEngine engine;
    std::vector<std::string> diagrams;  // "WxH file patterns"
    bool failDiagram = false;

    PrintEngine& ReportEngine() override { return engine; }
    std::string SaveDiagram(const JobInput&, const CalculationResult& result, int width, int height,
                            const std::filesystem::path& file) override {
        diagrams.push_back(std::to_string(width) + "x" + std::to_string(height) + " " +
                           file.string() + " " + std::to_string(result.PatternCount()));
        return failDiagram ? "No space left on device" : "";
    }
};

const Args OneBarJob = {"--stock", "*@6000", "--cut", "2@1500", "--customer", "Acme"};

TEST(CliApp, BadArgumentsExitTwoNamingTheArgument) {
    const Args job = {"--stock", "*@6000", "--cut", "1@100"};
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--stock", "5@19000", "--cut", "1@100"}, "--stock 5@19000: 19000mm is greater than"},
        {{"--stock", "5-6000", "--cut", "1@100"}, "--stock 5-6000: expected QUANTITY@LENGTH"},
        {{"--stock", "*@6000", "--cut", "*@100"}, "--cut *@100: '*' is not a quantity"},
        {{"--stock", "*@6000"}, "nothing to calculate"},
        {With(job, {"--kerf", "abc"}), "--kerf abc"},
        {With(job, {"--algorithm", "slow"}), "--algorithm"},
        {With(job, {"--bogus"}), "--bogus"},
        {With(job, {"--weight", "heavy"}), "--weight heavy"},
        {With(job, {"--cost", "-5"}), "--cost -5"},
        {With(job, {"--per", "kilo"}), "--per"},
        {With(job, {"--cut-charge", "each:5"}),
         "--cut-charge each:5: the basis must be one of tonne, metre, lump, cut"},
        {With(job, {"--charge2", "cut:5"}), "--charge2 cut:5"},
        {With(job, {"--charge3", "lump"}), "expected BASIS:VALUE"},
        {With(job, {"--charge-names", "a,b,c,d"}), "at most three names"},
        {With(job, {"--no-calc"}), "--no-calc"},
        // Which lengths, quantities and figures a field takes is the entry's rule; the option
        // is named with it.
        {With(job, {"--weight", "1e300"}), "--weight 1e300: expected a number from 0 to 9999.999"},
        {With(job, {"--cost", "100000"}), "--cost 100000: expected a number from 0 to 99999.99"},
        {With(job, {"--cut-charge", "tonne:1e9"}), "--cut-charge tonne:1e9: expected a number"},
        {With(job, {"--time-limit", "0"}), "--time-limit 0: expected a number of seconds"},
        // None of these is a number of seconds: each would remove the limit or read oddly.
        {With(job, {"--time-limit", "nan"}), "--time-limit nan: expected a number of seconds"},
        {With(job, {"--time-limit", "NaN"}), "--time-limit NaN: expected a number of seconds"},
        {With(job, {"--time-limit", "inf"}), "--time-limit inf: expected a number of seconds"},
        {With(job, {"--time-limit", "-1"}), "--time-limit -1: expected a number of seconds"},
        {With(job, {"--time-limit", "0x10"}), "--time-limit 0x10: expected a number of seconds"},
        {With(job, {"--time-limit", "1e400"}), "--time-limit 1e400: expected a number of seconds"},
        {With(job, {"--time-limit", ""}), "--time-limit : expected a number of seconds"},
        {With(job, {"--threads", "0"}), "--threads"},
        {With(job, {"--threads", "two"}), "--threads"},
        // The file to save is checked before anything is calculated or printed.
        {With(job, {"--save", ""}), "--save: expected a file name"},
        {With(job, {"--save", "/no/such/folder/job.tlf"}), "--save /no/such/folder/job.tlf:"},
        // A mark is one line of text after the length.
        {{"--stock", "*@6000", "--cut", "2@100:"}, "--cut 2@100:: the mark after \":\""},
        {{"--stock", "*@6000", "--cut", "2@100:a\nb"}, "the mark after \":\" must be"},
        {{"--stock", "*@6000", "--cut", "2@1x0:B"}, "--cut 2@1x0:B: '1x0' is not"},
        {With(job, {"--labels", "/no/such/folder/l.pdf"}), "--labels"},
        {With(job, {"--label-layout", "a4-3x8"}), "--label-layout"},
        {With(job, {"--saw-sheet", "/no/such/folder/s.csv"}), "--saw-sheet /no/such/folder/s.csv:"},
        // Imperial lengths: the allowances' options name the forms they take.
        {{"--units", "imperial", "--stock", "*@20ft", "--cut", "1@6'", "--kerf", "1/2\""},
         "--kerf 1/2\": expected a length from 1/32\" to 3/8\""},
        {{"--units", "imperial", "--stock", "*@20ft", "--cut", "1@6'", "--trim", "3mm"},
         "--trim 3mm: '3mm' is not a length in feet and inches"},
        {{"--units", "yards", "--stock", "*@20ft", "--cut", "1@6'"}, "--units"},
        {{"--units", "imperial", "--precision", "1/64", "--stock", "*@20ft", "--cut", "1@6'"},
         "--precision"},
        {With(job, {"--per", "cwt"}), "--per cwt: a metric job's price is per tonne or metre"},
    };
    for (const auto& [args, expected] : cases) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitBadInput) << expected;
        testing::ExpectOneLineError(run, expected);
        EXPECT_TRUE(run.out.empty()) << expected;
    }

    // A refused calculation exits one with the message and prints no text.
    const CliRun refused = RunTool({"--stock", "*@6000", "--cut", "1@7000"});
    // The message box's two lines make one line on standard error.
    EXPECT_EQ(refused.status, ExitRefused);
    testing::ExpectOneLineError(
        refused,
        "long enough to cut a length of 7000mm. Please check your stock length entries.\n");
    EXPECT_TRUE(refused.out.empty());
}

TEST(CliApp, OptionsTheEntryFieldsWouldLimitOrRound) {
    // Rows committed as typed: one stock row of 8 bars; a kerf of 12 is limited to 10.
    json result = RunTool({"--stock", "5@6000", "--stock", "3@6000", "--cut", "2@997", "--cut",
                           "1@997", "--kerf", "12", "--trim", "0", "--format", "json"})
                      .Json();
    EXPECT_EQ(result["patterns"][0]["CutLength"], json({1007}));
    EXPECT_EQ(result["patterns"][0]["PieceCount"], json({3}));
    EXPECT_EQ(result["stock_left"], json({{7, 6000}}));  // one bar of the eight is cut

    // 6 m of stock at 10.000 kg/m and 2.01 a metre; the pound sign is dropped.
    result = RunTool({"--stock", "*@6000", "--cut", "1@1000", "--weight", "10.0004", "--cost",
                      "\u00A32.005", "--per", "metre", "--format", "json"})
                 .Json();
    EXPECT_EQ(result["statistics"][0]["weight"], "60.000kg");
    EXPECT_EQ(result["statistics"][0]["cost"], "\u00A312.06");

    // Without --switch-to-fast a job of 41 cut rows stays with the Complex algorithm.
    Args many = {"--stock", "any@1000", "--trim", "0", "--format", "json"};
    for (int i = 1; i <= 41; ++i) many = With(many, {"--cut", "1@" + std::to_string(10 * i - 3)});
    EXPECT_EQ(RunTool(many).Json()["algorithm"], "complex");

    // Names of the other charges, and a basis in capitals.
    const CliRun costing =
        RunTool({"--stock", "*@6000", "--cut", "2@1500", "--trim", "0", "--weight", "10", "--cost",
                 "500", "--cut-charge", "LUMP:30", "--charge1", "each:2", "--charge-names",
                 "Galv,,Paint", "--costing"});
    ASSERT_EQ(costing.status, ExitSuccess) << costing.err;
    EXPECT_NE(costing.out.find("\n\n Qty\tLength\tNet Wt\tMat Cost\tCut Charge\tGalv\t"
                               "Other Charges 2\tPaint\tTotal\n2\t1500\t15.000\t"),
              std::string::npos)
        << costing.out;
    // 6 m at 500 a tonne and 10 kg/m is 30.00; the lump of 30; 2.00 for each of 2 pieces.
    EXPECT_NE(costing.out.find(" \tTOTALS\t30.000\t\u00A330.00\t\u00A330.00\t\u00A34.00\t"
                               "\u00A30.00\t\u00A30.00\t\u00A364.00\n"),
              std::string::npos)
        << costing.out;
}

// The issue's own job: a cutting list in feet and inches, statistics in feet and pounds; a job
// file saved in imperial and converted back to metric by --units.
TEST(CliApp, AnImperialJobIsWrittenInFeetAndInches) {
    testing::TempFolder temp;
    const std::string job = temp.File("job.tlf");
    const CliRun run =
        RunTool({"--units", "imperial", "--stock", "ANY@20ft", "--cut", "12@6' 3-1/2\"", "--kerf",
                 "1/8\"", "--trim", "1/2\"", "--weight", "10", "--save", job});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    for (const char* line :
         {"From 4 at 20' 0\", cut the following:", "3 cuts at 6' 3-1/2\" long, producing 12 pieces",
          "4 bars at 20' 0\"", "80.00ft", "800.00lb"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
    EXPECT_EQ(run.out.find("mm"), std::string::npos);

    const CliRun again = RunTool({job, "--no-calc"});
    ASSERT_EQ(again.status, ExitSuccess) << again.err;
    EXPECT_EQ(again.out, run.out);
    const CliRun metric = RunTool({job, "--units", "metric", "--format", "json"});
    ASSERT_EQ(metric.status, ExitSuccess) << metric.err;
    EXPECT_EQ(metric.Json()["units"], "metric");
    EXPECT_EQ(metric.Json()["input"]["cuts"][0]["length"], 1918);  // 75-1/2" is 1917.7mm
    EXPECT_EQ(RunTool({job, "--units", "metric", "--no-calc"}).status, ExitBadInput);
}

TEST(CliApp, JobFileRowsComeFirstAndOptionsOverrideItsSettings) {
    testing::TempFolder temp;
    const std::string job = temp.File("job.tlf");
    const CliRun saved = RunTool(
        {"--stock", "5@6000", "--cut", "4@1000", "--trim", "10", "--kerf", "4", "--save", job});
    ASSERT_EQ(saved.status, ExitSuccess);

    // The file's rows, then the options' rows; Trim and Kerf from the file unless given.
    const CliRun run = RunTool({job, "--stock", "3@6000", "--cut", "1@2000", "--kerf", "2",
                                "--hold", "15", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const json result = run.Json();
    ASSERT_EQ(result["stock_left"].size(), 1u);  // 5 and 3 bars of 6000 merged
    EXPECT_EQ(result["stock_left"][0][1], 6000 - 10 - 15);
    int pieces = 0;
    for (const auto& p : result["patterns"]) {
        EXPECT_EQ(p["StockLength"], 6000 - 10 - 15);
        for (size_t k = 0; k < p["CutLength"].size(); ++k) {
            EXPECT_TRUE(p["CutLength"][k] == 1002 || p["CutLength"][k] == 2002);
            pieces += p["PieceCount"][k].get<int>() * p["BarCount"].get<int>();
        }
    }
    EXPECT_EQ(pieces, 5);
}

TEST(CliApp, NoCalcShowsTheStoredResultsWithTheStatisticsOfTheAllowancesGiven) {
    testing::TempFolder temp;
    const std::string job = temp.File("job.tlf");
    const CliRun saved =
        RunTool({"--stock", "2@6000", "--cut", "7@2000", "--algorithm", "fast", "--save", job});
    ASSERT_EQ(saved.status, ExitSuccess);
    const CliRun stored = RunTool({job, "--no-calc"});
    ASSERT_EQ(stored.status, ExitSuccess) << stored.err;
    EXPECT_EQ(stored.out, saved.out);

    const json offcuts = RunTool({job, "--no-calc", "--offcut", "1", "--format", "json"}).Json();
    EXPECT_EQ(offcuts["statistics"][2]["metres"], "3.938m");  // 2 x (5975 - 2 x 2003)
    EXPECT_EQ(offcuts["patterns"][0]["IsOffcut"], true);
}

TEST(CliApp, EarlierFormatFilesAreConvertedInMemoryAndUnreadableFilesExitTwo) {
    testing::TempFolder temp;
    const std::string old = temp.File("old.tlf");
    const std::string content = testing::CrLf(
        {"Tallora Datafile", "// Stock length data", "ANY @ 6000", "// Cut length data", "3 @ 1500",
         "// Output", "// Customer name", "Acme", "// List reference", "", "// Section name", "",
         "// Section weight kg/m", "0", "// Section cost", "0", "// Cost type", "Tonne"});
    testing::WriteBytes(old, content);
    const CliRun run = RunTool({old, "--format", "json", "--save", temp.File("new.tlf")});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.Json()["patterns"][0]["PieceCount"], json({3}));
    EXPECT_EQ(testing::ReadBytes(old), content);
    EXPECT_EQ(testing::ReadBytes(temp.File("new.tlf")).rfind("TA DataFile\r\n", 0), 0u);
    EXPECT_EQ(RunTool({old, "--no-calc"}).status, ExitBadInput);

    const std::string bad = temp.File("bad.tlf");
    const std::vector<std::pair<std::string, std::string>> unreadable = {
        {"TA DataFile\r\n1\r\n5 6000\r\n",
         bad + ": Some of the data in this file is corrupted. Line 3: '5 6000' is not a row"},
        {"hello\r\n", bad + ": This is not a Tallora Datafile"},
    };
    for (const auto& [bytes, error] : unreadable) {
        testing::WriteBytes(bad, bytes);
        const CliRun run = RunTool({bad});
        EXPECT_EQ(run.status, ExitBadInput);
        testing::ExpectOneLineError(run, error);
    }
    ExpectExit(RunTool({temp.File("none.tlf")}), ExitBadInput, temp.File("none.tlf") + ": ");
    EXPECT_EQ(RunTool(With(OneBarJob, {"--save", temp.File("no/such/x.tlf")})).status,
              ExitBadInput);
}

TEST(CliApp, PdfReportAndDiagramAreWrittenWhereTheUserSays) {
    testing::TempFolder temp;
    FakePictures pictures;
    const std::string pdf = temp.File("acme.pdf");
    const std::string png = temp.File("d.png");
    const CliRun run = RunTool(With(OneBarJob, {"--pdf", pdf, "--diagram", png}), &pictures);
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    // The whole report, closed after saving, in the file named and nowhere else.
    const std::string report = testing::ReadBytes(pdf);
    EXPECT_NE(report.find("Customer: Acme"), std::string::npos) << report;
    EXPECT_NE(report.find("Cutting Pattern Number 1:"), std::string::npos);
    EXPECT_NE(report.find("Page 2 of 2"), std::string::npos);
    EXPECT_NE(report.find("[N S10 CE B C Black]100.00%"), std::string::npos);
    EXPECT_FALSE(pictures.engine.IsOpen());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    EXPECT_EQ(pictures.diagrams, Args{"945x665 " + png + " 1"});

    const Args sized = With(OneBarJob, {"--diagram", png, "--size", "300X200"});
    ASSERT_EQ(RunTool(sized, &pictures).status, ExitSuccess);
    EXPECT_EQ(pictures.diagrams.back(), "300x200 " + png + " 1");
}

TEST(CliApp, BadPictureArgumentsExitTwoBeforeAnythingIsDrawn) {
    testing::TempFolder temp;
    std::filesystem::create_directory(temp.Path() / "folder.pdf");
    const std::string png = temp.File("d.png"), folder = temp.File("folder.pdf");
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--diagram", png, "--size", "0x200"}, "--size 0x200: expected WIDTHxHEIGHT"},
        {{"--diagram", png, "--size", "300"}, "--size 300:"},
        {{"--diagram", png, "--size", "8001x10"}, "each from 1 to 8000"},
        {{"--diagram", png, "--size", "-3x10"}, "--size -3x10:"},
        {{"--size", "300x200"}, "--size requires --diagram"},
        {{"--pdf", temp.File("missing/r.pdf")},
         "--pdf " + temp.File("missing/r.pdf") + ": the folder"},
        {{"--pdf", folder}, "is a folder"},
        {{"--diagram", folder}, "--diagram " + folder},
        {{"--pdf", ""}, "--pdf: expected a file name"},
    };
    for (const auto& [extra, expected] : cases) {
        FakePictures pictures;
        const CliRun run = RunTool(With(OneBarJob, extra), &pictures);
        ExpectExit(run, ExitBadInput, expected);
        EXPECT_TRUE(run.out.empty()) << expected;  // refused before calculating
        EXPECT_TRUE(pictures.engine.Calls().empty());
        EXPECT_TRUE(pictures.diagrams.empty());
    }
    // Only the folder made above: the probe of a writable file leaves nothing behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
}

TEST(CliApp, PictureOutputsThatFailOrCannotBeMade) {
    testing::TempFolder temp;
    const std::string pdf = temp.File("r.pdf"), png = temp.File("d.png");
    FakePictures pictures;
    pictures.engine.FailSave = true;
    const CliRun failed = RunTool(With(OneBarJob, {"--pdf", pdf}), &pictures);
    // The system's reason, not the window's guess of a report still open elsewhere.
    ExpectExit(failed, ExitBadInput, "--pdf " + pdf + ": Permission denied\n");
    EXPECT_EQ(std::count(failed.err.begin(), failed.err.end(), '\n'), 1) << failed.err;
    EXPECT_FALSE(pictures.engine.IsOpen());
    pictures.failDiagram = true;
    ExpectExit(RunTool(With(OneBarJob, {"--diagram", png}), &pictures), ExitBadInput,
               "--diagram " + png);

    // A refused calculation draws nothing.
    FakePictures unused;
    const Args refused = {"--stock", "*@6000", "--cut", "1@7000", "--pdf", pdf, "--diagram", png};
    EXPECT_EQ(RunTool(refused, &unused).status, ExitRefused);
    EXPECT_TRUE(unused.engine.Calls().empty());
    EXPECT_TRUE(unused.diagrams.empty());
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));

    // Without the window-system side.
    ExpectExit(RunTool(With(OneBarJob, {"--pdf", pdf})), ExitBadInput,
               "--pdf: this tallora-cli was built without PDF and picture output");
}

TEST(CliApp, TextsFromOutsideNeverBreakTheOutput) {
    testing::TempFolder temp;
    // Bytes that are no UTF-8 in a name; control characters in a stored cutting list.
    const CliRun json = RunTool(With(OneBarJob, {"--charge-names", "Galv\xff", "--costing",
                                                 "--section", "R\xC3HS", "--format", "json"}));
    ASSERT_EQ(json.status, ExitSuccess) << json.err;
    EXPECT_NO_THROW(json.Json());
    EXPECT_NE(json.out.find("Galv\uFFFD"), std::string::npos);

    const std::string file = temp.File("escape.tlf");
    ASSERT_EQ(RunTool(With(OneBarJob, {"--save", file})).status, ExitSuccess);
    std::string bytes = testing::ReadBytes(file);
    bytes.replace(bytes.find(" Cutting Pattern"), 1, "\x1B[2J\x07");
    testing::WriteBytes(file, bytes);
    const CliRun shown = RunTool({file, "--no-calc"});
    ASSERT_EQ(shown.status, ExitSuccess) << shown.err;
    EXPECT_EQ(shown.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(shown.out.find('\x07'), std::string::npos);
    EXPECT_NE(shown.out.find("\uFFFD[2J\uFFFDCutting Pattern Number 1:"), std::string::npos);

    // Output that cannot be written is a failure with the system's reason.
    const CliRun full = testing::RunWithFullOutput(OneBarJob);
    EXPECT_EQ(full.status, ExitBadInput);
    testing::ExpectOneLineError(full, "the output could not be written: No space left on device");
}

// Where the search stops depends on the machine's speed; that it stops at a budget is the
// engine's test (ComplexAlgorithm). Here: whatever it reached, every piece is placed.
TEST(CliApp, UnderATimeLimitEveryPieceIsStillPlaced) {
    // Many tiny pieces on many long bars: a search the limit cuts short.
    Args args = {"--format", "json", "--time-limit", "0.001"};
    for (int i = 0; i < 30; ++i)
        args = With(args, {"--stock", "*@" + std::to_string(9000 + 97 * i)});
    for (int i = 0; i < 25; ++i) {
        args = With(args, {"--cut", std::to_string(40 + 7 * i) + "@" + std::to_string(13 + 3 * i)});
    }
    const CliRun run = RunTool(args);
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.Json()["remaining"], json::array());
}

TEST(CliApp, OptimalSaysHowFarItsPlanIsFromTheBoundAndTheOthersSayNothing) {
    const Args job = {"--stock", "*@6000", "--cut", "7@1200", "--cut", "5@2300", "--cut", "9@700"};
    const CliRun text = RunTool(With(job, {"--algorithm", "optimal"}));
    ASSERT_EQ(text.status, ExitSuccess) << text.err;
    // The line follows the statistics, which end with the chargeable material.
    const auto chargeable = text.out.find("Chargeable material:");
    const auto bound = text.out.find("Optimal: 5 bars, lower bound 5, proven optimal\n");
    ASSERT_NE(chargeable, std::string::npos);
    ASSERT_NE(bound, std::string::npos) << text.out;
    EXPECT_LT(chargeable, bound);

    // On two threads (that a proven plan is the same on any number: OptimalSearchTest).
    const CliRun run =
        RunTool(With(job, {"--algorithm", "optimal", "--format", "json", "--threads", "2"}));
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const json out = run.Json();
    const json& b = out["bound"];
    int bars = 0;
    long long used = 0;
    for (const json& p : out["patterns"]) {
        bars += p["BarCount"].get<int>();
        used += p["BarCount"].get<long long>() * p["StockLength"].get<long long>();
    }
    EXPECT_EQ(b["bars"], bars);
    EXPECT_EQ(b["used_mm"], used);
    EXPECT_EQ(b["proven_optimal"], true);
    EXPECT_EQ(b["gap_bars"], 0);
    EXPECT_EQ(b["gap_mm"], 0);
    EXPECT_EQ(b["lower_bound_bars"], 5);
    EXPECT_LE(b["linear_bound_mm"].get<double>(), b["lower_bound_mm"].get<double>());
    EXPECT_TRUE(b["stopped"].is_null());
    EXPECT_EQ(b["text"], "Optimal: 5 bars, lower bound 5, proven optimal");

    // Several stock lengths: metres, and no count of bars in the bound.
    const CliRun mixed = RunTool({"--algorithm", "optimal", "--format", "json", "--stock", "*@6000",
                                  "--stock", "2@12000", "--cut", "9@2900"});
    ASSERT_EQ(mixed.status, ExitSuccess) << mixed.err;
    EXPECT_TRUE(mixed.Json()["bound"]["lower_bound_bars"].is_null());
    EXPECT_NE(mixed.Json()["bound"]["text"].get<std::string>().find(" m of usable stock in "),
              std::string::npos);

    for (const char* other : {"complex", "fast"}) {
        const CliRun plain = RunTool(With(job, {"--algorithm", other, "--format", "json"}));
        EXPECT_FALSE(plain.Json().contains("bound")) << other;
        EXPECT_EQ(RunTool(With(job, {"--algorithm", other})).out.find("Optimal:"),
                  std::string::npos);
    }
}

TEST(CliApp, OptimalStoppedAtTheTimeLimitStillPlacesEveryPiece) {
    Args args = {"--algorithm", "optimal", "--format", "json", "--time-limit", "0.001"};
    for (int i = 0; i < 3; ++i)
        args = With(args, {"--stock", "*@" + std::to_string(6000 + 1000 * i)});
    for (int i = 0; i < 60; ++i) {
        args =
            With(args, {"--cut", std::to_string(2 + i % 5) + "@" + std::to_string(300 + 41 * i)});
    }
    const CliRun run = RunTool(args);
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const json out = run.Json();
    EXPECT_EQ(out["remaining"], json::array());
    const json& b = out["bound"];
    if (b["proven_optimal"] == false) {
        EXPECT_EQ(b["stopped"], "time limit");
        EXPECT_NE(b["text"].get<std::string>().find("(stopped at the time limit)"),
                  std::string::npos);
    }
}

TEST(CliApp, RowsFromSpreadsheetFilesAndTheCuttingListBackToOne) {
    testing::TempFolder temp;
    const std::string stock = temp.File("stock.tsv");
    const std::string cuts = temp.File("cuts.csv");
    std::ofstream(stock) << "Quantity\tLength\nANY\t6000\n2\t12000\n";
    std::ofstream(cuts) << "Qty;Length;Mark\n4;1450;B1\n\"3\";2100;\"C;2\"\n7;980\n2;1450;B9\n";
    const std::string exported = temp.File("list.csv");
    const std::string costing = temp.File("costing.csv");
    const CliRun run = RunTool({"--stock-csv", stock, "--cuts-csv", cuts, "--format", "json",
                                "--costing", "--weight", "10", "--cost", "500", "--export-csv",
                                exported, "--costing-csv", costing});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const json out = run.Json();
    // Rows as typed: the header skipped, ANY unlimited; the second 1450 has another mark and
    // stays a row of its own.
    EXPECT_EQ(out["input"]["stock"], json::parse(R"([{"quantity":-1,"length":6000},
                                                      {"quantity":2,"length":12000}])"));
    EXPECT_EQ(out["input"]["cuts"].size(), 4u);
    EXPECT_EQ(out["input"]["cuts"][3]["mark"], "B9");

    // The cutting list goes to the file named, every piece once. Its lines and marks are the
    // results' rules (CuttingListCsvTest); reading it back, CliHostileInput's formulas test.
    const auto lines = testing::ReadCsv(testing::ReadBytes(exported));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].at(0), "Pattern");
    std::map<std::string, int> pieces;
    for (size_t i = 1; i < lines.size(); ++i) pieces[lines[i].at(3)] += std::stoi(lines[i].at(5));
    EXPECT_EQ(pieces, (std::map<std::string, int>{{"1450", 6}, {"2100", 3}, {"980", 7}}));

    // The costing table with numbers: the same as the JSON's.
    const auto table = testing::ReadCsv(testing::ReadBytes(costing));
    const json& rows = out["costing"]["rows"];
    ASSERT_EQ(table.size(), rows.size() + 2);
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(std::stoi(table[r + 1][0]), rows[r]["quantity"].get<int>());
        EXPECT_NEAR(std::stod(table[r + 1][8]), rows[r]["total"].get<double>(), 0.005);
    }
    EXPECT_NEAR(std::stod(table.back()[8]), out["costing"]["totals"]["grand"].get<double>(), 0.005);
}

// A text file of an imperial job's rows between blanks: each length keeps its blanks, and what
// follows it is the mark.
TEST(CliApp, AnImperialRowsFileBetweenBlanks) {
    testing::TempFolder temp;
    const std::string cuts = temp.File("cuts.txt");
    std::ofstream(cuts) << "12 6' 3-1/2\" B12\n8 75 1/2\n";
    const CliRun run = RunTool(
        {"--units", "imperial", "--stock", "*@20ft", "--cuts-csv", cuts, "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const json out = run.Json();
    EXPECT_EQ(out["input"]["cuts"], json::parse(R"([{"quantity":12,"length":75.5,"mark":"B12"},
                                                     {"quantity":8,"length":75.5}])"));
}

TEST(CliApp, BadRowsFilesNameTheFileAndTheLine) {
    testing::TempFolder temp;
    const std::string cuts = temp.File("cuts.csv");
    std::ofstream(cuts) << "Quantity,Length\n4,1450\n2,18301\n";
    ExpectExit(RunTool({"--stock", "*@6000", "--cuts-csv", cuts}), ExitBadInput,
               "--cuts-csv " + cuts + ": line 3: 18301mm is greater than the maximum");
    std::ofstream(cuts) << "4,1450,A,B\n";
    ExpectExit(RunTool({"--stock", "*@6000", "--cuts-csv", cuts}), ExitBadInput,
               "--cuts-csv " + cuts + ": line 1:");
    // A stock quantity of * is no cut quantity.
    std::ofstream(cuts) << "*,1450\n";
    ExpectExit(RunTool({"--stock", "*@6000", "--cuts-csv", cuts}), ExitBadInput, "line 1:");
    ExpectExit(RunTool({"--stock", "*@6000", "--cuts-csv", temp.File("missing.csv")}), ExitBadInput,
               "--cuts-csv " + temp.File("missing.csv") + ": ");
    // From standard input, once.
    std::istringstream rows("2 1500\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--stock", "*@6000", "--cuts-csv", "-", "--format", "json"}, out, err,
                     nullptr, false, &rows),
              ExitSuccess)
        << err.str();
    EXPECT_EQ(json::parse(out.str())["input"]["cuts"].size(), 1u);
    std::istringstream twice("2 1500\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli({"--stock-csv", "-", "--cuts-csv", "-"}, out2, err2, nullptr, false, &twice),
              ExitBadInput);
    EXPECT_NE(err2.str().find("give - once"), std::string::npos) << err2.str();
    // The files written are one job's: several jobs refuse them.
    const std::string job = temp.File("a.tlf");
    ASSERT_EQ(RunTool({"--stock", "*@6000", "--cut", "2@1500", "--save", job}).status, ExitSuccess);
    ExpectExit(RunTool({job, job, "--export-csv", temp.File("x.csv")}), ExitBadInput,
               "--export-csv");
}

}  // namespace
}  // namespace tallora
