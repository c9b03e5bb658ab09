#include "report/PieceLabels.h"

#include <gtest/gtest.h>

#include <set>

#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrintEngine.h"

namespace tallora {
namespace {

TestJob JobWithOffcuts() {
    TestJob job = testing::MakeJob({{"*", "6000"}}, {{"9", "1500"}, {"5", "700"}, {"1", "2000"}});
    job.Input.Allowances.NoOffcuts = false;
    job.Input.Allowances.Offcut = 500;
    job.Input.CutRows[0].Mark = "B12";
    testing::CalculateAsTheProgramsDo(job);
    return job;
}

TEST(MakePieceLabels, ALabelAPieceInSawOrderAndOneAKeptOffcutAfterItsBar) {
    const TestJob job = JobWithOffcuts();
    const SawSheet sheet = MakeSawSheet(job.Input, job.Result);
    const std::vector<PieceLabel> labels = MakePieceLabels(job.Input, job.Result, sheet, {{0, 41}});
    size_t at = 0;
    for (const SawBar& bar : sheet.Bars) {
        for (const SawRun& run : bar.Runs) {
            for (int n = 0; n < run.Count; ++n, ++at) {
                ASSERT_LT(at, labels.size());
                EXPECT_FALSE(labels[at].Offcut);
                EXPECT_EQ(labels[at].Length, run.Length);
                EXPECT_EQ(labels[at].Barcode,
                          (run.Length == 1500 ? "B12 " : "") + FormatLength(run.Length, {}));
            }
        }
        if (!bar.KeepOffcut) continue;
        ASSERT_LT(at, labels.size());
        EXPECT_TRUE(labels[at].Offcut);
        EXPECT_EQ(labels[at].Length, bar.Remnant);
        // Only the pattern booked has an inventory id.
        EXPECT_EQ(labels[at].Barcode.find(", inventory 41") != std::string::npos, bar.Pattern == 0);
        ++at;
    }
    EXPECT_EQ(at, labels.size());
    EXPECT_GT(std::count_if(labels.begin(), labels.end(), [](const auto& l) { return l.Offcut; }),
              0);
}

// Every label's barcode and texts inside its own cell, the cells taken in order from the start
// position, pages of the layout's size and no more of them than the labels need.
TEST(LayOutPieceLabels, EachLabelInItsCellFromTheStartPosition) {
    const TestJob job = JobWithOffcuts();
    const std::vector<PieceLabel> labels =
        MakePieceLabels(job.Input, job.Result, MakeSawSheet(job.Input, job.Result));
    for (const LabelLayout& layout : LabelLayouts()) {
        for (const int start : std::set<int>{1, std::min(2, layout.PerPage()), layout.PerPage()}) {
            SCOPED_TRACE(std::string(layout.Name) + " from " + std::to_string(start));
            RecordingPrintEngine engine;
            engine.OpenDoc();
            LabelOptions options;
            options.Layout = layout;
            options.StartPosition = start;
            ASSERT_EQ(LabelOptionsProblem(options), "");
            LayOutPieceLabels(engine, labels, options);

            const size_t slots = labels.size() + static_cast<size_t>(start - 1);
            const size_t perPage = static_cast<size_t>(layout.PerPage());
            ASSERT_EQ(engine.Pages().size(), (slots + perPage - 1) / perPage);
            for (const auto& page : engine.Pages()) {
                EXPECT_DOUBLE_EQ(page.Width, layout.PageWidth);
                EXPECT_DOUBLE_EQ(page.Height, layout.PageHeight);
            }
            const auto cellOf = [&](const PlacedObject& o) -> long long {
                const double eps = 1e-9;
                for (int cell = 0; cell < layout.PerPage(); ++cell) {
                    const double x = layout.LeftMargin + (cell % layout.Columns) *
                                                             (layout.LabelWidth + layout.ColumnGap);
                    const double y = layout.TopMargin +
                                     (cell / layout.Columns) * (layout.LabelHeight + layout.RowGap);
                    if (o.Left >= x - eps && o.Top >= y - eps &&
                        o.Bottom <= y + layout.LabelHeight + eps &&
                        (o.What == PlacedObject::Kind::Text ||
                         o.Right <= x + layout.LabelWidth + eps) &&
                        o.Left < x + layout.LabelWidth)
                        return static_cast<long long>(o.Page - 1) * layout.PerPage() + cell;
                }
                return -1;
            };
            std::set<long long> used;
            for (const PlacedObject& o : engine.Objects()) {
                const long long cell = cellOf(o);
                ASSERT_GE(cell, 0) << o.Text << " at " << o.Left << "," << o.Top;
                used.insert(cell);
            }
            ASSERT_EQ(used.size(), labels.size());
            EXPECT_EQ(*used.begin(), start - 1);
            EXPECT_EQ(*used.rbegin(), static_cast<long long>(slots) - 1);
        }
    }
}

TEST(LabelOptionsProblem, AStartOffTheSheetOrMarginsThatPushLabelsOffThePage) {
    LabelOptions options;
    options.Layout = *FindLabelLayout("letter-3x10");
    EXPECT_EQ(LabelOptionsProblem(options), "");
    struct Case {
        int Start;
        std::optional<double> Left, Top;
        bool Fits;
    };
    for (const Case& c : {Case{0, {}, {}, false}, Case{31, {}, {}, false}, Case{30, {}, {}, true},
                          Case{1, 0.0, 0.0, true}, Case{1, 1.0, {}, false}, Case{1, {}, 3.0, false},
                          Case{1, -0.1, {}, false}}) {
        options.StartPosition = c.Start;
        options.LeftMargin = c.Left;
        options.TopMargin = c.Top;
        EXPECT_EQ(LabelOptionsProblem(options).empty(), c.Fits) << c.Start;
    }
}

}  // namespace
}  // namespace tallora
