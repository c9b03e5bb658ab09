#include "results/SawSheet.h"

#include <gtest/gtest.h>

#include <map>

#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

// Pieces cut per length (without kerf) as the patterns cut them.
std::map<int, long long> PiecesOfPatterns(const TestJob& job) {
    std::map<int, long long> pieces;
    for (const CuttingPattern& p : job.Result.Patterns) {
        for (int k = 0; k < p.LengthCount(); ++k)
            pieces[p.CutLength[k] - job.Input.Allowances.Kerf] +=
                static_cast<long long>(p.PieceCount[k]) * p.BarCount;
    }
    return pieces;
}

struct SawCase {
    const char* Name;
    TestJob Job;
};

std::vector<SawCase> Jobs() {
    using testing::MakeJob;
    std::vector<SawCase> cases;
    cases.push_back(
        {"repeated patterns",
         MakeJob({{"*", "6000"}}, {{"20", "1500"}, {"10", "1000"}, {"12", "700"}}, 3, 25, 25)});
    cases.push_back(
        {"several stock lengths, offcuts",
         MakeJob({{"*", "6000"}, {"3", "9000"}},
                 {{"7", "2400"}, {"9", "1750"}, {"5", "3900"}, {"30", "420"}}, 5, 10, 0)});
    cases.back().Job.Input.Allowances.NoOffcuts = false;
    cases.back().Job.Input.Allowances.Offcut = 500;
    cases.push_back({"pieces left over", MakeJob({{"2", "6000"}}, {{"6", "2500"}, {"3", "900"}})});
    // Rows of one length with different marks: one length to the engine.
    cases.push_back({"marked rows of one length",
                     MakeJob({{"*", "6000"}, {"4", "7500"}},
                             {{"6", "1500"}, {"5", "1500"}, {"9", "1000"}}, 3, 20, 40)});
    cases.back().Job.Input.CutRows[0].Mark = "B1";
    cases.back().Job.Input.CutRows[1].Mark = "B2";
    cases.push_back({"nothing cut", TestJob{}});
    for (SawCase& c : cases) testing::CalculateAsTheProgramsDo(c.Job);
    return cases;
}

TEST(SawSheet, EveryPieceOnceAndEveryBarWithinItsLength) {
    for (SawCase& c : Jobs()) {
        SCOPED_TRACE(c.Name);
        const JobInput& input = c.Job.Input;
        const Allowances& a = input.Allowances;
        const SawSheet sheet = MakeSawSheet(input, c.Job.Result);

        std::map<int, long long> pieces;
        std::map<int, int> barsOfPattern;
        long long cuts = 0;
        long long sawn = 0;
        for (const SawBar& bar : sheet.Bars) {
            long long used = a.Trim + a.Hold;
            for (const SawRun& run : bar.Runs) {
                pieces[run.Length] += run.Count;
                used += static_cast<long long>(run.Length + a.Kerf) * run.Count;
                cuts += run.Count;
                sawn += static_cast<long long>(run.Length) * run.Count;
            }
            EXPECT_LE(used, bar.EnteredLength);
            EXPECT_EQ(used - a.Hold + bar.Remnant, bar.EnteredLength);
            ++barsOfPattern[bar.Pattern];
        }
        EXPECT_EQ(pieces, PiecesOfPatterns(c.Job));
        // Each row's mark goes to as many pieces as the row asks for, when all were cut.
        PieceMarks marks(input);
        for (const SawBar& bar : sheet.Bars) {
            for (const SawRun& run : bar.Runs) {
                for (int n = 0; n < run.Count; ++n) marks.Next(run.Length);
            }
        }
        if (c.Job.Result.RemainingPieces == 0) {
            for (size_t r = 0; r < input.CutRows.size(); ++r)
                EXPECT_EQ(std::to_string(marks.GivenByRow()[r]), input.CutRows[r].Quantity);
        }
        for (int p = 0; p < c.Job.Result.PatternCount(); ++p)
            EXPECT_EQ(barsOfPattern[p], c.Job.Result.Patterns[static_cast<size_t>(p)].BarCount);
        EXPECT_EQ(sheet.SawCuts,
                  cuts + (a.Trim > 0 ? static_cast<long long>(sheet.Bars.size()) : 0));
        EXPECT_EQ(sheet.SawnLength, sawn);
        // Never more moves of the stop than the cutting list's order needs.
        EXPECT_LE(StopMoves(sheet.Bars), StopMoves(CuttingListOrder(input, c.Job.Result)));
    }
}

}  // namespace
}  // namespace tallora
