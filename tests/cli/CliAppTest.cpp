// What the recorded transcripts of CliOutputRegressionTest do not pin down: exit statuses of bad
// arguments with nothing drawn or written, the picture outputs, and runs under a time limit.
#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/CliTestSupport.h"
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

// Every bad argument is refused before anything is calculated, drawn or written: exit 2 and one
// line naming it. Which lengths and figures a field takes is the entry's rule; here the option
// is named with it.
TEST(CliApp, BadArgumentsExitTwoNamingTheArgument) {
    testing::TempFolder temp;
    std::filesystem::create_directory(temp.Path() / "folder.pdf");
    const std::string dir = temp.Path().string(), folder = temp.File("folder.pdf");
    const Args job = {"--stock", "*@6000", "--cut", "1@100"};
    const std::string beam = std::string(TALLORA_EXAMPLES_DIR) + "/beam-job.tlf";
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--stock", "5@19000", "--cut", "1@100"}, "--stock 5@19000: 19000mm is greater than"},
        {{"--stock", "5-6000", "--cut", "1@100"}, "--stock 5-6000: expected QUANTITY@LENGTH"},
        {{"--stock", "*@6000", "--cut", "*@100"}, "--cut *@100: '*' is not a quantity"},
        {{"--stock", "*@6000"}, "nothing to calculate"},
        {With(job, {"--kerf", "abc"}), "--kerf abc: expected a whole number of millimetres"},
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
        {With(job, {"--no-calc"}), "--no-calc: needs a JOB file with results"},
        {With(job, {"--weight", "1e300"}), "--weight 1e300: expected a number from 0 to 9999.999"},
        {With(job, {"--cost", "100000"}), "--cost 100000: expected a number from 0 to 99999.99"},
        {With(job, {"--cut-charge", "tonne:1e9"}), "--cut-charge tonne:1e9: expected a number"},
        // None of these is a number of seconds: each would remove the limit or read oddly.
        {With(job, {"--time-limit", "0"}), "--time-limit 0: expected a number of seconds"},
        {With(job, {"--time-limit", "nan"}), "--time-limit nan: expected a number of seconds"},
        {With(job, {"--time-limit", "inf"}), "--time-limit inf: expected a number of seconds"},
        {With(job, {"--time-limit", "-1"}), "--time-limit -1: expected a number of seconds"},
        {With(job, {"--time-limit", "0x10"}), "--time-limit 0x10: expected a number of seconds"},
        {With(job, {"--time-limit", "1e400"}), "--time-limit 1e400: expected a number of seconds"},
        {With(job, {"--time-limit", ""}), "--time-limit : expected a number of seconds"},
        {With(job, {"--threads", "0"}), "--threads"},
        {With(job, {"--threads", "two"}), "--threads"},
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
        // The pictures.
        {With(job, {"--diagram", dir + "/d.png", "--size", "0x200"}),
         "--size 0x200: expected WIDTHxHEIGHT"},
        {With(job, {"--diagram", dir + "/d.png", "--size", "300"}), "--size 300:"},
        {With(job, {"--diagram", dir + "/d.png", "--size", "8001x10"}), "each from 1 to 8000"},
        {With(job, {"--diagram", dir + "/d.png", "--size", "-3x10"}), "--size -3x10:"},
        {With(job, {"--size", "300x200"}), "--size requires --diagram"},
        {With(job, {"--pdf", dir + "/missing/r.pdf"}),
         "--pdf " + dir + "/missing/r.pdf: the folder"},
        {With(job, {"--pdf", folder}), "is a folder"},
        {With(job, {"--diagram", folder}), "--diagram " + folder},
        {With(job, {"--pdf", ""}), "--pdf: expected a file name"},
        // What several jobs cannot take.
        {{beam, beam, "--save", dir + "/x.tlf"}, "--save: writes one file"},
        {{beam, beam, "--pdf", dir + "/x.pdf"}, "--pdf: writes one file"},
        {{beam, beam, "--diagram", dir + "/x.png"}, "--diagram: writes one file"},
        {{beam, beam, "--export-csv", dir + "/x.csv"}, "--export-csv"},
        {{TALLORA_EXAMPLES_DIR, "--save", dir + "/x.tlf"}, "--save: writes one file"},
        {{beam, beam, "--format", "text"}, "--format text: several jobs"},
        {{beam, beam, "--format", "json"}, "--format json: several jobs"},
        {{beam, beam, "--stock", "5@19000"}, "--stock 5@19000: 19000mm is greater than"},
        {{folder}, folder + ": the folder holds no *.tlf job files"},
        {{"-", beam, "-"}, "-: standard input holds one job"},
        {{"--stock-csv", "-", "--cuts-csv", "-"}, "give - once"},
    };
    for (const auto& [args, expected] : cases) {
        SCOPED_TRACE(expected);
        FakePictures pictures;
        const CliRun run = testing::RunToolWith(args, &pictures, "", nullptr);
        EXPECT_EQ(run.status, ExitBadInput);
        testing::ExpectOneLineError(run, expected);
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(pictures.engine.Calls().empty());
        EXPECT_TRUE(pictures.diagrams.empty());
        // Only the folder made above: the probe of a writable file leaves nothing behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    }
}

TEST(CliApp, PictureOutputsThatFailOrCannotBeMade) {
    testing::TempFolder temp;
    const std::string pdf = temp.File("r.pdf"), png = temp.File("d.png");
    FakePictures pictures;
    pictures.engine.FailSave = true;
    const CliRun failed = RunTool(With(OneBarJob, {"--pdf", pdf}), &pictures);
    // The system's reason, not the window's guess of a report still open elsewhere.
    ExpectExit(failed, ExitBadInput, "--pdf " + pdf + ": Permission denied\n");
    testing::ExpectOneLineError(failed, "--pdf");
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

}  // namespace
}  // namespace tallora
