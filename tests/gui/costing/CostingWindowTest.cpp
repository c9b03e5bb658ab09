#include "gui/costing/CostingWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "commands/Calculate.h"
#include "engine/Calculation.h"
#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

constexpr auto User = RegistryRoot::CurrentUser;
const std::string L = "\u00A3";
using Cells = std::vector<std::string>;

// Answers the rename box from the script and records the initial texts.
class RenameDialogs : public testing::ScriptedDialogs {
public:
    std::vector<std::string> asked;
    std::vector<std::optional<std::string>> texts;  // the answers, in order; then Cancel

    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
        EXPECT_EQ(title, "Rename Charge");
        EXPECT_EQ(prompt, "Enter a name for this charge (leave blank to reset to default):");
        asked.push_back(initial);
        if (texts.empty()) return std::nullopt;
        auto text = texts.front();
        texts.erase(texts.begin());
        return text;
    }
};

// Two bars of 6000 mm (trim 25, hold 25, kerf 3), each cutting 3 x 1500 and 1 x 1000: 12 m
// chargeable, 11 m of cut pieces. At 12.5 kg/m and 300 a tonne the material costs
// 0.15 t x 300 = 45.00, that is 45/11 a net metre: 6.14 for a 1500 piece, 4.09 for a 1000.
class CostingFormTest : public ::testing::Test {
protected:
    TestJob job = testing::MakeJob({{"2", "6000"}}, {{"6", "1500"}, {"2", "1000"}}, 3, 25, 25);
    Statistics stats;
    MemoryRegistry registry;
    RenameDialogs dialogs;
    std::unique_ptr<CostingWindow> form;

    void SetUp() override {
        ASSERT_TRUE(testing::CalculateAsTheProgramsDo(job).Outcome.Completed);
        stats = testing::StatsOf(job);
        ASSERT_DOUBLE_EQ(stats.StatMetres[ChargeableMaterialRow], 12.0);
        ASSERT_DOUBLE_EQ(stats.StatMetres[CutPiecesRow], 11.0);
    }
    CostingWindow& Form() {
        if (!form)
            form = std::make_unique<CostingWindow>(job.Input, job.Result, dialogs, registry,
                                                   NumberFormat::UK());
        return *form;
    }
    void Open(double cost = 300, double weight = 12.5, const std::string& type = "Tonne") {
        Form().Prepare(cost, weight, type, stats);
        Form().FormShow();
    }
    template <class Widget>
    Widget* Child(const char* name) {
        auto* widget = Form().findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(name); }
    QRadioButton* Radio(const char* name) { return Child<QRadioButton>(name); }
    std::string Text(const char* edit) { return Edit(edit)->text().toStdString(); }
    std::string Title(const char* group) { return Child<QGroupBox>(group)->title().toStdString(); }
    QTableWidget* Grid() { return Child<QTableWidget>("CostListView"); }
    std::string Header(int c) { return Grid()->horizontalHeaderItem(c)->text().toStdString(); }
    Cells Headers() {
        Cells headers;
        for (int c = 0; c < Grid()->columnCount(); ++c) headers.push_back(Header(c));
        return headers;
    }
    Cells Row(int row) {
        Cells cells;
        for (int c = 0; c < Grid()->columnCount(); ++c) {
            const QTableWidgetItem* item = Grid()->item(row, c);
            cells.push_back(item != nullptr ? item->text().toStdString() : "");
        }
        return cells;
    }
    Cells Totals() { return Row(Grid()->rowCount() - 1); }
    void Click(const char* radio) { QTest::mouseClick(Radio(radio), Qt::LeftButton); }
    void DoubleClick(const char* group) {
        QTest::mouseDClick(Child<QGroupBox>(group), Qt::LeftButton, {}, QPoint(4, 4));
    }
    void Retype(const char* edit, const char* text) {
        Edit(edit)->selectAll();
        QTest::keyClicks(Edit(edit), QString::fromLatin1(text));
    }
};

TEST_F(CostingFormTest, OpeningRewritesTheFieldsAndShowsTheSheet) {
    Open(300, 12.5, "Tonne");
    EXPECT_EQ(Form().windowTitle(), "Tallora: Material Costing");
    EXPECT_EQ(Text("CWeightEdit"), "12.500");
    EXPECT_EQ(Text("CCostEdit"), "300.00");
    EXPECT_EQ(Text("COtherEdit"), "0.00");
    EXPECT_TRUE(Radio("CMRadioT")->isChecked());
    EXPECT_FALSE(Radio("CMRadioM")->isChecked());

    EXPECT_EQ(Headers(),
              (Cells{"Quantity", "Length", "Net Weight (ea)", "Material cost (ea)",
                     "Cutting Charge (ea)", "Other Charges 1 (ea)", "Other Charges 2 (ea)",
                     "Other Charges 3 (ea)", "Total Cost (ea)"}));
    EXPECT_EQ(Title("GalvGroup"), " Other Charges 1 ** ");
    EXPECT_EQ(Title("PaintGroup"), " Other Charges 2 * ");

    // The grid shows the costing layer's sheet cell for cell (its amounts: CostingSheetTest),
    // of the price and weight the fields hold.
    const auto& sheet = Form().Sheet().GridRows;
    ASSERT_EQ(Grid()->rowCount(), static_cast<int>(sheet.size()));
    for (size_t r = 0; r < sheet.size(); ++r)
        EXPECT_EQ(Row(static_cast<int>(r)), Cells(sheet[r].begin(), sheet[r].end())) << r;
    EXPECT_EQ(Totals()[3], L + "45.00");
    EXPECT_FALSE(Grid()->item(0, 0)->textAlignment() & Qt::AlignHCenter);
    EXPECT_TRUE(Grid()->item(0, 1)->textAlignment() & Qt::AlignHCenter);

    Open(4, 12.5, "Metre");  // 12 chargeable metres at 4.00
    EXPECT_TRUE(Radio("CMRadioM")->isChecked());
    EXPECT_FALSE(Radio("CMRadioT")->isChecked());
    EXPECT_EQ(Totals()[3], L + "48.00");
}

TEST_F(CostingFormTest, OnlyDigitsAndThePointCanBeTypedAndANonNumberCountsAsZero) {
    Open();
    const CostingSettings& c = job.Input.Costing;
    const MaterialPrice& m = Form().Material();
    const std::vector<std::pair<const char*, const double*>> fields = {
        {"CCostEdit", &m.Rate},       {"CWeightEdit", &m.Weight}, {"CCutEdit", &c.CCutValue},
        {"CGalvEdit", &c.CGalvValue}, {"CPPEdit", &c.CPPValue},   {"COtherEdit", &c.COtherValue}};
    for (const auto& [edit, value] : fields) {
        const std::string before = Text(edit);
        const double was = *value;
        QTest::keyClicks(Edit(edit), "abcXYZ -,+e");
        EXPECT_EQ(Text(edit), before) << edit;
        EXPECT_EQ(*value, was) << edit;

        Retype(edit, "x7y.z5");
        EXPECT_EQ(Text(edit), "7.5") << edit;
        EXPECT_DOUBLE_EQ(*value, 7.5) << edit;
        QTest::keyClick(Edit(edit), Qt::Key_Backspace);
        QTest::keyClick(Edit(edit), Qt::Key_Backspace);
        EXPECT_DOUBLE_EQ(*value, 7.0) << edit;
        // Shortcuts type nothing and keep working.
        QTest::keyClick(Edit(edit), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Edit(edit), "3");
        EXPECT_EQ(Text(edit), "3") << edit;
    }

    Edit("CCostEdit")->selectAll();
    QTest::keyClick(Edit("CCostEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Form().Material().Rate, 0.0);
    EXPECT_EQ(Totals()[3], L + "0.00");

    Retype("CWeightEdit", "1..2");
    EXPECT_EQ(Text("CWeightEdit"), "1..2");  // as typed
    EXPECT_EQ(Totals()[2], "0.000");
    Retype("CWeightEdit", "10");
    EXPECT_EQ(Totals()[2], "110.000");
}

TEST_F(CostingFormTest, BasisClicksStoreTheCodeAndRecompute) {
    Open();
    Retype("CCutEdit", "100");
    EXPECT_EQ(Totals()[4], L + "15.00");  // 0.15 t at 100
    Click("CCRadioL");
    EXPECT_EQ(job.Input.Costing.CCutType, "Lump");
    EXPECT_FALSE(Radio("CCRadioT")->isChecked());
    EXPECT_EQ(Totals()[4], L + "100.00");
    EXPECT_EQ(Row(1)[4], L + "13.64");  // 100 over 11 m, a 1500 piece

    Retype("COtherEdit", "2");
    Click("CORadioE");
    EXPECT_EQ(Row(0)[7], L + "2.00");
    EXPECT_EQ(Totals()[7], L + "16.00");  // 8 pieces

    Click("CMRadioM");
    EXPECT_EQ(Totals()[3], L + "3,600.00");          // 12 m at 300
    EXPECT_EQ(job.Input.Section.CostType, "Tonne");  // the job's only at close
}

TEST_F(CostingFormTest, AStoredCodeThatMatchesNoButtonChecksNone) {
    job.Input.Costing.CCutType = "Cut";
    job.Input.Costing.CGalvType = "Cut";  // not a basis of the other charges
    job.Input.Costing.CGalvValue = 50;
    Open();
    EXPECT_TRUE(Radio("CCRadioC")->isChecked());
    EXPECT_FALSE(Radio("CCRadioT")->isChecked());
    for (const char* radio : {"CGRadioT", "CGRadioM", "CGRadioL", "CGRadioE"}) {
        EXPECT_FALSE(Radio(radio)->isChecked()) << radio;
    }
    EXPECT_EQ(Totals()[5], L + "0.00");

    Click("CGRadioL");
    EXPECT_EQ(Totals()[5], L + "50.00");
}

// How a name is trimmed or reset and kept is the costing's rule (ChargeNames); here, that a
// double click on a nameable charge asks, and the group, the grid and the registry follow.
TEST_F(CostingFormTest, RenamingACharge) {
    Open();
    dialogs.texts = {" Painting ", std::nullopt, "Galvanising"};
    DoubleClick("OtherGroup");
    EXPECT_EQ(Title("OtherGroup"), " Painting * ");
    EXPECT_EQ(Header(7), "Painting (ea)");
    EXPECT_EQ(registry.ReadString(User, MainKey, "OtherName3"), "Painting");

    DoubleClick("OtherGroup");  // Cancel
    EXPECT_EQ(job.Input.Costing.OtherName3, "Painting");
    EXPECT_EQ(dialogs.asked, (Cells{"Other Charges 3", "Painting"}));

    DoubleClick("CutGroup");  // not a nameable charge
    DoubleClick("GalvGroup");
    EXPECT_EQ(Title("GalvGroup"), " Galvanising ** ");
    EXPECT_EQ(Header(5), "Galvanising (ea)");
    EXPECT_EQ(dialogs.asked.size(), 3u);
}

TEST_F(CostingFormTest, NamesFromTheRegistryAndFromJobFiles) {
    registry.CreateKey(User, MainKey);
    registry.WriteString(User, MainKey, "OtherName1", "Galvanising");
    Open();
    EXPECT_EQ(Title("GalvGroup"), " Galvanising ** ");
    EXPECT_EQ(Header(5), "Galvanising (ea)");
    EXPECT_EQ(Form().NamesForStoring(), (std::array<std::string, 3>{"Galvanising", "", ""}));

    // A job file with no custom names keeps the registry's; the registry is not written.
    Form().SetNamesFromStorage({"", "Powder coat", ""});
    EXPECT_EQ(job.Input.Costing.OtherName1, "Galvanising");
    EXPECT_EQ(Title("PaintGroup"), " Powder coat * ");
    job.Input.Costing.OtherName3 = "Crating";  // set by a reader
    Form().ReloadNames();
    EXPECT_EQ(Header(7), "Crating (ea)");
    EXPECT_FALSE(registry.ValueExists(User, MainKey, "OtherName2"));
}

// A caption longer than its group's room widens the group, and the groups after it move along,
// none over another and all inside the window.
TEST_F(CostingFormTest, ALongChargeNameWidensItsGroup) {
    Open();
    Form().SetNamesFromStorage({"Hot-dip galvanising and passivation", "", ""});
    Form().show();
    QApplication::processEvents();
    int right = 0;
    for (const char* name :
         {"MatCostGroup", "WeightGroup", "CutGroup", "GalvGroup", "PaintGroup", "OtherGroup"}) {
        auto* group = Child<QGroupBox>(name);
        EXPECT_GE(group->width(), group->minimumSizeHint().width()) << name;
        EXPECT_GT(group->x(), right) << name;
        right = group->geometry().right();
    }
    EXPECT_LT(right, Form().width());
    Form().hide();
}

TEST_F(CostingFormTest, CopyPutsTheSheetOnTheClipboardAsPlainAndRichText) {
    job.Input.Costing.OtherName1 = "Paint {red} \\ <b>";
    Open();
    QApplication::clipboard()->clear();
    QTest::mouseClick(Child<QPushButton>("CopyButton"), Qt::LeftButton);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    // The sheet's lines (CostingSheetTest), the renamed charge among them.
    std::string lines;
    for (const std::string& line : Form().Sheet().ClipboardLines)
        lines += (lines.empty() ? "" : "\n") + line;
    EXPECT_EQ(data->text().toStdString(), lines);
    EXPECT_NE(lines.find("\tPaint {red} \\ <b>\t"), std::string::npos);

    ASSERT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains("<td>TOTALS</td><td>137.500</td><td>\u00A345.00</td>"));
    EXPECT_TRUE(data->html().contains("<td>Paint {red} \\ &lt;b&gt;</td>"));
    EXPECT_EQ(data->html().count("<tr>"), 5);
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1") && rtf.endsWith("}"));
    EXPECT_TRUE(rtf.contains(" \\tab TOTALS\\tab 137.500\\tab \\u163?45.00"));
    EXPECT_TRUE(rtf.contains("\\tab Paint \\{red\\} \\\\ <b>\\tab "));
    EXPECT_EQ(rtf.count("\\par"), 4);
}

TEST_F(CostingFormTest, ShownModallyAndHandsBackTheWorkingCopiesAtClose) {
    job.Input.Costing.CCutValue = 12.3456;
    std::string shownWeight;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(Form().isVisible() && Form().isModal());
        shownWeight = Text("CWeightEdit");
        Retype("CWeightEdit", "20");
        Click("CMRadioM");
        Form().close();
    });
    const CostingOutcome outcome = Form().Execute(300, 12.5, "Tonne", stats);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(shownWeight, "12.500");
    EXPECT_EQ(outcome.WeightText, "20");
    EXPECT_DOUBLE_EQ(outcome.Weight, 20.0);
    EXPECT_EQ(outcome.CostText, "300.00");
    EXPECT_DOUBLE_EQ(outcome.Cost, 300.0);
    EXPECT_EQ(outcome.CostType, "Metre");
    // The charge as shown with 2 decimals is the charge kept; the names are written at close.
    EXPECT_DOUBLE_EQ(job.Input.Costing.CCutValue, 12.35);
    EXPECT_EQ(registry.ReadString(User, MainKey, "OtherName2"), "Other Charges 2");
}

}  // namespace
}  // namespace tallora
