#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "report/PdfReport.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunTool(std::vector<std::string> args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CliApp, JsonResultOfAJob) {
    const CliRun run = RunTool({"--stock", "*@6050", "--cut", "5@1000", "--kerf", "3", "--trim",
                                "25", "--hold", "25", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["patterns"].size(), 1u);
    const auto& p = json["patterns"][0];
    EXPECT_EQ(p["StockLength"], 6000);
    EXPECT_EQ(p["BarCount"], 1);
    EXPECT_EQ(p["CutLength"], nlohmann::json({1003}));
    EXPECT_EQ(p["PieceCount"], nlohmann::json({5}));
    EXPECT_EQ(p["IsOffcut"], false);
    EXPECT_EQ(p["OffcutLength"], 0);
    EXPECT_EQ(json["remaining"], nlohmann::json::array());
    EXPECT_EQ(json["stock_left"], nlohmann::json({{-1, 6000}}));
    EXPECT_EQ(json["scale_factor"], 1);
    EXPECT_EQ(json["permutations"], 1);
    EXPECT_EQ(json["algorithm"], "complex");
    EXPECT_TRUE(json["error"].is_null());
    EXPECT_EQ(json["time_text"].get<std::string>().rfind("Calculation Time : ", 0), 0u);
}

TEST(CliApp, RowsAreCommittedAsTypedAndAllowancesLimited) {
    const CliRun run = RunTool({"--stock", "5@6000", "--stock", "3@6000", "--cut", "2@997", "--cut",
                                "1@997", "--kerf", "12", "--trim", "0", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    // One stock row of 8 bars; a kerf of 12 is limited to 10.
    ASSERT_EQ(json["patterns"].size(), 1u);
    EXPECT_EQ(json["patterns"][0]["CutLength"], nlohmann::json({1007}));
    EXPECT_EQ(json["patterns"][0]["PieceCount"], nlohmann::json({3}));
    EXPECT_EQ(json["stock_left"], nlohmann::json({{8, 6000}}));
}

TEST(CliApp, RefusedCalculationExitsOneWithTheMessage) {
    const CliRun run =
        RunTool({"--stock", "*@6000", "--cut", "1@7000", "--trim", "0", "--format", "json"});
    EXPECT_EQ(run.status, ExitRefused);
    const std::string message =
        "You have not entered a stock length long enough to cut a length of 7000mm.\r\n"
        "Please check your stock length entries.";
    EXPECT_EQ(nlohmann::json::parse(run.out)["error"], message);
    EXPECT_NE(run.err.find("long enough to cut a length of 7000mm.\nPlease check"),
              std::string::npos);

    const CliRun text = RunTool({"--stock", "*@6000", "--cut", "1@7000"});
    EXPECT_EQ(text.status, ExitRefused);
    EXPECT_TRUE(text.out.empty());
}

TEST(CliApp, BadArgumentsExitTwoNamingTheArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"--stock", "5@19000", "--cut", "1@100"}, "--stock 5@19000: 19000mm is greater than"},
        {{"--stock", "5-6000", "--cut", "1@100"}, "--stock 5-6000: expected QUANTITY@LENGTH"},
        {{"--stock", "*@6000", "--cut", "*@100"}, "--cut *@100: '*' is not a quantity"},
        {{"--stock", "*@6000", "--cut", "1@100", "--kerf", "abc"}, "--kerf abc"},
        {{"--stock", "*@6000", "--cut", "1@100", "--algorithm", "slow"}, "--algorithm"},
        {{"--stock", "*@6000", "--cut", "1@100", "--bogus"}, "--bogus"},
        {{"--stock", "*@6000"}, "nothing to calculate"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunTool(c.args);
        EXPECT_EQ(run.status, ExitBadInput) << c.expected;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
}

TEST(CliApp, AnswersTheFastQuestionAsTold) {
    std::vector<std::string> args = {"--stock", "any@1000", "--trim", "0", "--format", "json"};
    for (int i = 1; i <= 41; ++i) {
        args.push_back("--cut");
        args.push_back("1@" + std::to_string(10 * i - 3));
    }
    const CliRun complex = RunTool(args);
    ASSERT_EQ(complex.status, ExitSuccess) << complex.err;
    EXPECT_EQ(nlohmann::json::parse(complex.out)["algorithm"], "complex");

    args.push_back("--switch-to-fast");
    const CliRun fast = RunTool(args);
    ASSERT_EQ(fast.status, ExitSuccess) << fast.err;
    EXPECT_EQ(nlohmann::json::parse(fast.out)["algorithm"], "fast");
    EXPECT_EQ(nlohmann::json::parse(fast.out)["remaining"], nlohmann::json::array());
}

TEST(CliApp, TextIsTheCuttingListThenTheStatistics) {
    const CliRun run = RunTool({"--stock", "2@6025", "--cut", "7@2000", "--algorithm", "fast",
                                "--weight", "10", "--cost", "\u00A3500"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const std::string expected =
        " Cutting Pattern Number 1:\n"
        "    From 2 at 6025mm, cut the following:\n"
        "    2 cuts at 2000mm long, producing 4 pieces\n"
        "\n"
        " Total stock bars used:\n"
        "    2 bars at 6025mm\n"
        "\n"
        " Please Note: \n"
        " The following items could not be incorporated into\n"
        " the cutting matrix due to insufficient stock lengths\n"
        " being available (Note statistics are for allocated\n"
        " stock only):\n"
        "    3 pieces at 2000mm\n"
        "\n"
        "Stock bars used:            12.050m   100.00%          \u00A360.25       120.500kg\n"
        "Cut pieces:                  8.000m    66.39%          \u00A340.00        80.000kg\n";
    EXPECT_EQ(run.out.substr(0, expected.size()), expected);
    EXPECT_NE(run.out.find("Chargeable material:        12.050m"), std::string::npos) << run.out;
}

TEST(CliApp, WeightAndCostAreUsedAsTheirFieldsShowThem) {
    const CliRun run = RunTool({"--stock", "*@6000", "--cut", "1@1000", "--weight", "10.0004",
                                "--cost", "2.005", "--per", "metre", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    // 6 m of stock at 10.000 kg/m and 2.01 a metre.
    EXPECT_EQ(json["statistics"][0]["weight"], "60.000kg");
    EXPECT_EQ(json["statistics"][0]["cost"], "\u00A312.06");
    EXPECT_EQ(json["statistics"][0]["caption"], "Stock bars used:");
    EXPECT_EQ(json["cutting_list"][0], " Cutting Pattern Number 1:");
}

TEST(CliApp, CostingSheetWithChargesAndNames) {
    const CliRun run = RunTool({"--stock", "*@6000", "--cut", "2@1500", "--trim", "0", "--weight",
                                "10", "--cost", "500", "--cut-charge", "LUMP:30", "--charge1",
                                "each:2", "--charge-names", "Galv,,Paint", "--costing"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_NE(run.out.find("\n\n Qty\tLength\tNet Wt\tMat Cost\tCut Charge\tGalv\tOther Charges 2\t"
                           "Paint\tTotal\n2\t1500\t15.000\t"),
              std::string::npos)
        << run.out;
    // 6 m at 500 a tonne and 10 kg/m is 30.00; the lump of 30; 2.00 for each of 2 pieces.
    EXPECT_NE(run.out.find(" \tTOTALS\t30.000\t\u00A330.00\t\u00A330.00\t\u00A34.00\t\u00A30.00\t"
                           "\u00A30.00\t\u00A364.00\n"),
              std::string::npos)
        << run.out;
}

TEST(CliApp, BadCostingArgumentsExitTwo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--weight", "heavy"}, "--weight heavy"},
        {{"--cost", "-5"}, "--cost -5"},
        {{"--per", "kilo"}, "--per"},
        {{"--cut-charge", "each:5"},
         "--cut-charge each:5: the basis must be one of tonne, metre, lump, cut"},
        {{"--charge2", "cut:5"}, "--charge2 cut:5"},
        {{"--charge3", "lump"}, "expected BASIS:VALUE"},
        {{"--charge-names", "a,b,c,d"}, "at most three names"},
    };
    for (const auto& [extra, expected] : cases) {
        std::vector<std::string> args = {"--stock", "*@6000", "--cut", "1@100"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitBadInput) << expected;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
    }
}

TEST(CliApp, JobFileRowsComeFirstAndOptionsOverrideItsSettings) {
    testing::TempFolder temp;
    const std::string job = temp.File("job.tlf");
    ASSERT_EQ(RunTool({"--stock", "5@6000", "--cut", "4@1000", "--trim", "10", "--kerf", "4",
                       "--save", job})
                  .status,
              ExitSuccess);

    // The file's rows, then the options' rows; Trim and Kerf from the file unless given.
    const CliRun run = RunTool({job, "--stock", "3@6000", "--cut", "1@2000", "--kerf", "2",
                                "--hold", "15", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["stock_left"].size(), 1u);  // 5 and 3 bars of 6000 merged
    EXPECT_EQ(json["stock_left"][0][1], 6000 - 10 - 15);
    int pieces = 0;
    for (const auto& p : json["patterns"]) {
        EXPECT_EQ(p["StockLength"], 6000 - 10 - 15);
        for (size_t k = 0; k < p["CutLength"].size(); ++k) {
            EXPECT_TRUE(p["CutLength"][k] == 1002 || p["CutLength"][k] == 2002);
            pieces += p["PieceCount"][k].get<int>() * p["BarCount"].get<int>();
        }
    }
    EXPECT_EQ(pieces, 5);
}

TEST(CliApp, NoCalcUsesTheStoredResults) {
    testing::TempFolder temp;
    const std::string job = temp.File("job.tlf");
    const CliRun saved =
        RunTool({"--stock", "2@6000", "--cut", "7@2000", "--algorithm", "fast", "--save", job});
    ASSERT_EQ(saved.status, ExitSuccess);
    const CliRun stored = RunTool({job, "--no-calc"});
    ASSERT_EQ(stored.status, ExitSuccess) << stored.err;
    EXPECT_EQ(stored.out, saved.out);

    // Statistics follow the allowances given now; the list is shown as stored.
    const CliRun offcuts = RunTool({job, "--no-calc", "--offcut", "1", "--format", "json"});
    const auto json = nlohmann::json::parse(offcuts.out);
    EXPECT_EQ(json["statistics"][2]["metres"], "3.938m");  // 2 x (5975 - 2 x 2003)
    EXPECT_EQ(json["patterns"][0]["IsOffcut"], true);

    const CliRun missing = RunTool({"--stock", "*@6000", "--cut", "1@10", "--no-calc"});
    EXPECT_EQ(missing.status, ExitBadInput);
    EXPECT_NE(missing.err.find("--no-calc"), std::string::npos);
}

TEST(CliApp, EarlierFormatFilesAreConvertedInMemory) {
    testing::TempFolder temp;
    const std::string old = temp.File("old.tlf");
    const std::string content = testing::CrLf(
        {"Tallora Datafile", "// Stock length data", "ANY @ 6000", "// Cut length data", "3 @ 1500",
         "// Output", "// Customer name", "Acme", "// List reference", "", "// Section name", "",
         "// Section weight kg/m", "0", "// Section cost", "0", "// Cost type", "Tonne"});
    testing::WriteBytes(old, content);
    const CliRun run = RunTool({old, "--format", "json", "--save", temp.File("new.tlf")});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["patterns"][0]["PieceCount"], nlohmann::json({3}));
    EXPECT_EQ(testing::ReadBytes(old), content);
    EXPECT_EQ(testing::ReadBytes(temp.File("new.tlf")).rfind("TA DataFile\r\n", 0), 0u);
    EXPECT_EQ(RunTool({old, "--no-calc"}).status, ExitBadInput);
}

TEST(CliApp, FilesThatCannotBeReadExitTwoNamingTheFile) {
    testing::TempFolder temp;
    const std::string bad = temp.File("bad.tlf");
    testing::WriteBytes(bad, "TA DataFile\r\n1\r\n5 6000\r\n");
    const CliRun corrupted = RunTool({bad});
    EXPECT_EQ(corrupted.status, ExitBadInput);
    EXPECT_NE(corrupted.err.find(bad + ": Some of the data in this file is corrupted."),
              std::string::npos)
        << corrupted.err;
    const CliRun missing = RunTool({temp.File("none.tlf")});
    EXPECT_EQ(missing.status, ExitBadInput);
    EXPECT_NE(missing.err.find("none.tlf"), std::string::npos);
    testing::WriteBytes(bad, "hello\r\n");
    EXPECT_NE(RunTool({bad}).err.find("This is not a Tallora Datafile"), std::string::npos);
    EXPECT_EQ(RunTool({"--stock", "*@6000", "--cut", "1@10", "--save", temp.File("no/such/x.tlf")})
                  .status,
              ExitBadInput);
}

// The report on the recording engine (saved as its plain-text record); diagrams as asked.
class FakePictures : public PictureOutput {
public:
    RecordingPrintEngine engine;
    std::vector<std::string> diagrams;  // "WxH file patterns"
    bool failDiagram = false;

    PrintEngine& ReportEngine() override { return engine; }
    bool SaveDiagram(const CuttingJob& job, int width, int height,
                     const std::filesystem::path& file) override {
        diagrams.push_back(std::to_string(width) + "x" + std::to_string(height) + " " +
                           file.string() + " " + std::to_string(job.PatternCount()));
        return !failDiagram;
    }
};

CliRun RunWithPictures(FakePictures& pictures, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(args, out, err, &pictures);
    run.out = out.str();
    run.err = err.str();
    return run;
}

const std::vector<std::string> OneBarJob = {"--stock", "*@6000",     "--cut",
                                            "2@1500",  "--customer", "Acme"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(CliApp, PdfReportAndDiagramAreWrittenWhereTheUserSays) {
    testing::TempFolder temp;
    FakePictures pictures;
    const std::string pdf = temp.File("acme.pdf");
    const CliRun run =
        RunWithPictures(pictures, With(OneBarJob, {"--pdf", pdf, "--diagram", temp.File("d.png")}));
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    // The whole report, closed after saving, in the file named and nowhere else.
    const std::string report = testing::ReadBytes(pdf);
    EXPECT_NE(report.find("Customer: Acme"), std::string::npos) << report;
    EXPECT_NE(report.find("Cutting Pattern Number 1:"), std::string::npos);
    EXPECT_NE(report.find("Page 2 of 2"), std::string::npos);
    EXPECT_NE(report.find("[N S10 CE B C Black]100.00%"), std::string::npos);
    EXPECT_FALSE(pictures.engine.IsOpen());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    EXPECT_EQ(pictures.diagrams, std::vector<std::string>{"945x665 " + temp.File("d.png") + " 1"});

    ASSERT_EQ(RunWithPictures(
                  pictures, With(OneBarJob, {"--diagram", temp.File("d.png"), "--size", "300X200"}))
                  .status,
              ExitSuccess);
    EXPECT_EQ(pictures.diagrams.back(), "300x200 " + temp.File("d.png") + " 1");
}

TEST(CliApp, BadPictureArgumentsExitTwoBeforeAnythingIsDrawn) {
    testing::TempFolder temp;
    std::filesystem::create_directory(temp.Path() / "folder.pdf");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--diagram", temp.File("d.png"), "--size", "0x200"},
         "--size 0x200: expected WIDTHxHEIGHT"},
        {{"--diagram", temp.File("d.png"), "--size", "300"}, "--size 300:"},
        {{"--diagram", temp.File("d.png"), "--size", "8001x10"}, "each from 1 to 8000"},
        {{"--diagram", temp.File("d.png"), "--size", "-3x10"}, "--size -3x10:"},
        {{"--size", "300x200"}, "--size requires --diagram"},
        {{"--pdf", temp.File("missing/r.pdf")},
         "--pdf " + temp.File("missing/r.pdf") + ": the folder"},
        {{"--pdf", temp.File("folder.pdf")}, "is a folder"},
        {{"--diagram", temp.File("folder.pdf")}, "--diagram " + temp.File("folder.pdf")},
        {{"--pdf", ""}, "--pdf: expected a file name"},
    };
    for (const auto& [extra, expected] : cases) {
        FakePictures pictures;
        const CliRun run = RunWithPictures(pictures, With(OneBarJob, extra));
        EXPECT_EQ(run.status, ExitBadInput) << expected;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << expected;  // refused before calculating
        EXPECT_TRUE(pictures.engine.Calls().empty());
        EXPECT_TRUE(pictures.diagrams.empty());
    }
    // Only the folder made above: the probe of a writable file leaves nothing behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
}

TEST(CliApp, PictureOutputsThatFailOrCannotBeMade) {
    testing::TempFolder temp;
    const std::string pdf = temp.File("r.pdf");
    FakePictures pictures;
    pictures.engine.FailSave = true;
    const CliRun failed = RunWithPictures(pictures, With(OneBarJob, {"--pdf", pdf}));
    EXPECT_EQ(failed.status, ExitBadInput);
    EXPECT_NE(failed.err.find(SaveFailureMessage(pdf)), std::string::npos) << failed.err;
    EXPECT_FALSE(pictures.engine.IsOpen());

    pictures.failDiagram = true;
    const CliRun noPicture =
        RunWithPictures(pictures, With(OneBarJob, {"--diagram", temp.File("d.png")}));
    EXPECT_EQ(noPicture.status, ExitBadInput);
    EXPECT_NE(noPicture.err.find("--diagram " + temp.File("d.png")), std::string::npos)
        << noPicture.err;

    // A refused calculation draws nothing.
    FakePictures unused;
    const CliRun refused = RunWithPictures(unused, {"--stock", "*@6000", "--cut", "1@7000", "--pdf",
                                                    pdf, "--diagram", temp.File("d.png")});
    EXPECT_EQ(refused.status, ExitRefused);
    EXPECT_TRUE(unused.engine.Calls().empty());
    EXPECT_TRUE(unused.diagrams.empty());
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));

    // Without the window-system side.
    const CliRun plain = RunTool(With(OneBarJob, {"--pdf", pdf}));
    EXPECT_EQ(plain.status, ExitBadInput);
    EXPECT_NE(plain.err.find("--pdf: this tallora-cli was built without PDF and picture output"),
              std::string::npos);
}

}  // namespace
}  // namespace tallora
