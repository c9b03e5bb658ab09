#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>

#include "engine/Calculation.h"
#include "engine/RowTexts.h"
#include "entry/Allowances.h"
#include "entry/ListEntry.h"

namespace tallora {

namespace {

// Message boxes use CR LF; a terminal wants plain line ends.
std::string ForTerminal(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

class BadInput : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Answers the question of large jobs as told; the error box is the caller's to print.
class CliHost : public SilentCalculationHost {
public:
    explicit CliHost(bool switchToFast) : switchToFast_(switchToFast) {}
    bool AskQuestion(const std::string&) override { return switchToFast_; }

private:
    bool switchToFast_;
};

// "Q@L" committed as the entry panels commit a typed row.
void CommitRowArgument(CuttingJob& job, const std::string& option, const std::string& argument) {
    const auto at = argument.find('@');
    if (at == std::string::npos) {
        throw BadInput(option + " " + argument + ": expected QUANTITY@LENGTH, for example 5@6000");
    }
    std::string quantity = argument.substr(0, at);
    const std::string length = argument.substr(at + 1);
    const bool stock = option == "--stock";
    if (stock) {
        std::string upper = quantity;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "ANY") quantity = upper;
    }
    if (quantity.empty() || length.empty()) {
        throw BadInput(option + " " + argument + ": both the quantity and the length are needed");
    }
    const CommitResult result = stock ? CommitStockRow(job.StockItems, quantity, length)
                                      : CommitCutRow(job.CutItems, quantity, length);
    if (result.Status == CommitStatus::Refused) {
        throw BadInput(option + " " + argument + ": " + ForTerminal(result.Message));
    }
}

void SetAllowanceArgument(CuttingJob& job, AllowanceField field, const std::string& option,
                          const std::string& text) {
    const auto value = ReadWholeNumber(text);
    if (!value) throw BadInput(option + " " + text + ": expected a whole number of millimetres");
    SetAllowance(job.allowances, field, *value);
}

nlohmann::json ResultJson(const CuttingJob& job, Algorithm algorithm,
                          const CalculationOutcome& outcome) {
    nlohmann::json patterns = nlohmann::json::array();
    for (const auto& p : job.Patterns) {
        patterns.push_back({{"StockLength", p.StockLength},
                            {"BarCount", p.BarCount},
                            {"CutLength", p.CutLength},
                            {"PieceCount", p.PieceCount},
                            {"IsOffcut", p.IsOffcut},
                            {"OffcutLength", p.OffcutLength}});
    }
    nlohmann::json remaining = nlohmann::json::array();
    for (const auto& row : job.Cuts) remaining.push_back({row.CutQuantity, row.CutLength});
    nlohmann::json stockLeft = nlohmann::json::array();
    for (const auto& row : job.Stock) stockLeft.push_back({row.StockQuantity, row.StockLength});
    return {{"patterns", patterns},
            {"remaining", remaining},
            {"stock_left", stockLeft},
            {"scale_factor", job.ScaleFactor},
            {"permutations", outcome.Permutations},
            {"algorithm", AlgorithmName(algorithm)},
            {"time_text", outcome.TimeText},
            {"error", outcome.Completed ? nlohmann::json(nullptr) : nlohmann::json(outcome.Error)}};
}

// A short readable summary in entered sizes.
void PrintSummary(std::ostream& out, const CuttingJob& job, Algorithm algorithm,
                  const CalculationOutcome& outcome) {
    const Allowances& a = job.allowances;
    out << "Algorithm: " << (algorithm == Algorithm::Fast ? "Fast" : "Complex") << "\n";
    int number = 0;
    for (const auto& p : job.Patterns) {
        out << "Pattern " << ++number << ": " << p.BarCount << (p.BarCount == 1 ? " bar" : " bars")
            << " of " << (p.StockLength + a.Trim + a.Hold) << "mm\n";
        for (int k = 0; k < p.LengthCount(); ++k) {
            out << "    " << p.PieceCount[k] << " x " << (p.CutLength[k] - a.Kerf) << "mm\n";
        }
    }
    if (!job.Cuts.empty()) {
        out << "Not incorporated:\n";
        for (const auto& row : job.Cuts) {
            out << "    " << row.CutQuantity << " x " << (row.CutLength - a.Kerf) << "mm\n";
        }
    }
    out << outcome.TimeText << "\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Tallora: works out cutting patterns for one-dimensional stock.", "tallora-cli"};
    std::vector<std::string> stockArgs;
    std::vector<std::string> cutArgs;
    std::string kerf, trim, hold, offcut;
    bool scrapAll = false;
    bool switchToFast = false;
    std::string algorithmName = "complex";
    std::string format = "text";

    app.add_option("--stock", stockArgs,
                   "A stock row QUANTITY@LENGTH (QUANTITY * or ANY: unlimited); repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--cut", cutArgs, "A cut row QUANTITY@LENGTH; repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--kerf", kerf, "Saw kerf in mm (1..10, default 3)")->type_name("N");
    app.add_option("--trim", trim, "Trim per bar in mm (0..250, default 25)")->type_name("N");
    app.add_option("--hold", hold, "Vice hold per bar in mm (0..500, default 0)")->type_name("N");
    app.add_option("--offcut", offcut, "Shortest offcut in mm (0..18300, default 3000)")
        ->type_name("N");
    app.add_flag("--scrap-all", scrapAll, "Count every remnant as scrap");
    app.add_option("--algorithm", algorithmName, "complex (default) or fast")
        ->check(CLI::IsMember({"complex", "fast"}));
    app.add_flag("--switch-to-fast", switchToFast,
                 "Answer Yes when a job of more than 40 cut rows offers the Fast algorithm");
    app.add_option("--format", format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}));

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return ExitSuccess;
    } catch (const CLI::ParseError& e) {
        err << "tallora-cli: " << e.what() << "\n";
        return ExitBadInput;
    }

    CuttingJob job;
    try {
        for (const auto& row : stockArgs) CommitRowArgument(job, "--stock", row);
        for (const auto& row : cutArgs) CommitRowArgument(job, "--cut", row);
        if (!kerf.empty()) SetAllowanceArgument(job, AllowanceField::Kerf, "--kerf", kerf);
        if (!trim.empty()) SetAllowanceArgument(job, AllowanceField::Trim, "--trim", trim);
        if (!hold.empty()) SetAllowanceArgument(job, AllowanceField::Hold, "--hold", hold);
        if (!offcut.empty()) SetAllowanceArgument(job, AllowanceField::Offcut, "--offcut", offcut);
    } catch (const BadInput& e) {
        err << "tallora-cli: " << e.what() << "\n";
        return ExitBadInput;
    }
    job.allowances.NoOffcuts = scrapAll;
    ApplyOffcutRule(job.allowances);

    if (!CheckInputData(job).CalculateEnabled) {
        err << "tallora-cli: nothing to calculate: give at least one --stock row and one --cut row\n";
        return ExitBadInput;
    }

    Algorithm algorithm = algorithmName == "fast" ? Algorithm::Fast : Algorithm::Complex;
    CliHost host(switchToFast);
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);

    if (format == "json") {
        out << ResultJson(job, algorithm, outcome).dump(2) << "\n";
    } else if (outcome.Completed) {
        PrintSummary(out, job, algorithm, outcome);
    }
    if (!outcome.Completed) {
        err << "tallora-cli: " << ForTerminal(outcome.Error) << "\n";
        return ExitRefused;
    }
    return ExitSuccess;
}

}  // namespace tallora
