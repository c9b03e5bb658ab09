#include "gui/costing/CostingWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

// The amounts of the sheet are the costing's (MakeCostingSheet, CostingCsv); here, that the grid
// shows the sheet of the fields as they are after every edit and what the fields let through
// (what the window hands back at close: MainWindowCalculation.TypedRowsToStatisticsCuttingList...).
// Two bars of 6000 mm (trim 25, hold 25, kerf 3), each cutting 3 x 1500 and 1 x 1000: 12 m
// chargeable, 11 m of cut pieces; at 12.5 kg/m 0.15 t.
class CostingFormTest : public ::testing::Test {
protected:
    TestJob job = testing::MakeJob({{"2", "6000"}}, {{"6", "1500"}, {"2", "1000"}}, 3, 25, 25);
    MemoryRegistry registry;
    testing::ScriptedDialogs dialogs;
    std::unique_ptr<CostingWindow> form;

    CostingWindow& Open() {
        EXPECT_TRUE(testing::CalculateAsTheProgramsDo(job).Outcome.Completed);
        form = std::make_unique<CostingWindow>(job.Input, job.Result, dialogs, registry,
                                               NumberFormat::UK());
        form->Prepare(300, 12.5, "Tonne", testing::StatsOf(job));
        form->FormShow();
        return *form;
    }
    template <class Widget = QLineEdit>
    Widget* Child(const char* name) {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::string Text(const char* edit) { return Child(edit)->text().toStdString(); }
    QTableWidget* Grid() { return Child<QTableWidget>("CostListView"); }
    // The grid, cell for cell, against the costing layer's sheet of the fields as they are.
    void ExpectTheSheet(const char* after) {
        const auto& sheet = form->Sheet().GridRows;
        ASSERT_EQ(Grid()->rowCount(), static_cast<int>(sheet.size())) << after;
        for (int r = 0; r < Grid()->rowCount(); ++r)
            for (int c = 0; c < Grid()->columnCount(); ++c) {
                const QTableWidgetItem* item = Grid()->item(r, c);
                EXPECT_EQ(item != nullptr ? item->text().toStdString() : "", sheet[r][c])
                    << after << " " << r << "," << c;
            }
    }
    void Click(const char* radio) { QTest::mouseClick(Child<QRadioButton>(radio), Qt::LeftButton); }
    void Retype(const char* edit, const char* text) {
        Child(edit)->selectAll();
        QTest::keyClicks(Child(edit), QString::fromLatin1(text));
    }
};

TEST_F(CostingFormTest, TheGridIsTheSheetOfTheFieldsAfterEveryEdit) {
    Open();
    EXPECT_EQ(Text("CWeightEdit") + " " + Text("CCostEdit"), "12.500 300.00");
    EXPECT_TRUE(Child<QRadioButton>("CMRadioT")->isChecked());
    ExpectTheSheet("opening");
    Retype("CCutEdit", "100");
    Click("CCRadioL");
    EXPECT_EQ(job.Input.Costing.CCutType, "Lump");
    EXPECT_FALSE(Child<QRadioButton>("CCRadioT")->isChecked());
    Click("CMRadioM");
    EXPECT_EQ(job.Input.Section.CostType, "Tonne");  // the job's only at close
    ExpectTheSheet("a lump cutting charge and a price per metre");

    // Only digits and the point reach a field; shortcuts type nothing and keep working.
    for (const char* edit :
         {"CCostEdit", "CWeightEdit", "CCutEdit", "CGalvEdit", "CPPEdit", "COtherEdit"}) {
        Retype(edit, "x7y.z5 -,+e");
        EXPECT_EQ(Text(edit), "7.5") << edit;
        QTest::keyClick(Child(edit), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Child(edit), "3");
        EXPECT_EQ(Text(edit), "3") << edit;
    }
    EXPECT_DOUBLE_EQ(job.Input.Costing.COtherValue, 3.0);
    Retype("CWeightEdit", "1..2");  // not a number: kept as typed, counted as nothing
    EXPECT_EQ(Text("CWeightEdit"), "1..2");
    ExpectTheSheet("typed charges");
}

}  // namespace
}  // namespace tallora
