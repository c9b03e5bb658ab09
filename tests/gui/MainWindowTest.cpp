#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTranslator>
#include <QTreeView>
#include <QUrl>
#include <map>

#include "gui/CoreTexts.h"
#include "gui/DesktopTestSupport.h"
#include "gui/ProgressWindow.h"
#include "gui/costing/CostingWindow.h"
#include "gui/entry/SettingsPanel.h"
#include "inventory/OffcutStore.h"
#include "report/PieceLabels.h"
#include "report/SawSheetReport.h"
#include "results/CuttingList.h"
#include "storage/JobFile.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using testing::Desktop;

std::vector<ListRow> Rows(std::initializer_list<ListRow> rows) { return rows; }

// What each edit lets through, how rows merge and the limits are the entry's rules
// (ListEntryTest); here, that the edits use them and where the keyboard goes.
TEST(MainWindowEntry, KeyFiltersEnterAndARefusedRowKeptForCorrection) {
    Desktop d;
    MainWindow& form = d.Start();
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");

    // Letters never reach the quantity; Enter moves on to the length; Enter there commits.
    d.Type("SQEdit", "5a-x");
    EXPECT_EQ(d.Text("SQEdit"), "5");
    QTest::keyClick(d.Find<QLineEdit>("SQEdit"), Qt::Key_Return);
    EXPECT_TRUE(d.Find<QLineEdit>("SLEdit")->hasFocus());
    d.Type("SLEdit", "60.00", true);
    EXPECT_EQ(form.Document().Input().StockRows, Rows({{"5", "6000"}}));
    EXPECT_EQ(d.Text("SQEdit"), "");
    EXPECT_TRUE(d.Find<QLineEdit>("SQEdit")->hasFocus());
    EXPECT_TRUE(form.JobModified());

    d.Type("CQEdit", "4", true);
    d.Type("CLEdit", "18301", true);
    EXPECT_EQ(d.dialogs.messages.back(),
              "18301mm is greater than the maximum allowed length of 18300mm.\r\n"
              "Please check your entry and try again");
    EXPECT_EQ(d.Text("CLEdit"), "18301");  // kept for correction
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    d.Find<QLineEdit>("CLEdit")->setText("18300");
    QTest::keyClick(d.Find<QLineEdit>("CLEdit"), Qt::Key_Return);
    EXPECT_EQ(form.Document().Input().CutRows, Rows({{"4", "18300"}}));
}

TEST(MainWindowEntry, ModifyDeleteSortingAndTheSummary) {
    Desktop d;
    MainWindow& form = d.Start();
    EXPECT_FALSE(d.Find<QToolButton>("CalculateButton")->isEnabled());
    d.AddStock("5", "6000");
    EXPECT_EQ(form.StatusText(0), "1 Stock length available");
    EXPECT_FALSE(d.Find<QToolButton>("CalculateButton")->isEnabled());
    d.AddCut("2", "1500");
    EXPECT_TRUE(d.Find<QToolButton>("CalculateButton")->isEnabled());
    d.AddStock("*", "7500");
    d.AddStock("3", "4000");

    // A click on a heading sorts the list (the order: SortRows).
    auto* list = d.Find<QTreeView>("SListView");
    list->header()->sectionClicked(1);
    EXPECT_EQ(form.Document().Input().StockRows,
              Rows({{"3", "4000"}, {"5", "6000"}, {"*", "7500"}}));

    auto* modify = d.Find<QPushButton>("SModify");
    auto* remove = d.Find<QPushButton>("SDelete");
    EXPECT_FALSE(modify->isEnabled());
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_TRUE(modify->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    QTest::mouseClick(modify, Qt::LeftButton);
    EXPECT_EQ(d.Text("SQEdit"), "5");
    EXPECT_EQ(d.Text("SLEdit"), "6000");
    EXPECT_EQ(form.Document().Input().StockRows.size(), 2u);
    EXPECT_FALSE(modify->isEnabled());
    d.Find<QLineEdit>("SQEdit")->setText("6");
    QTest::keyClick(d.Find<QLineEdit>("SLEdit"), Qt::Key_Return);
    EXPECT_EQ(form.Document().Input().StockRows.back(), (ListRow{"6", "6000"}));

    // Deleting every stock row disables Calculate and empties the first panel.
    for (int i = 0; i < 3; ++i) {
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::mouseClick(remove, Qt::LeftButton);
    }
    EXPECT_TRUE(form.Document().Input().StockRows.empty());
    EXPECT_EQ(form.StatusText(0), "");
    EXPECT_FALSE(d.Find<QToolButton>("CalculateButton")->isEnabled());
}

// The limits of the allowances are the entry's rule (AllowanceEdits); here, the edits' focus,
// the spin buttons and Scrap All Waste.
TEST(MainWindowSettings, AllowanceEditsSpinButtonsAndScrapAllWaste) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* kerf = d.Find<QLineEdit>("KerfEdit");
    EXPECT_EQ(kerf->text(), "3mm");
    kerf->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(kerf->text(), "3");
    EXPECT_EQ(kerf->selectedText(), "3");
    QTest::keyClicks(kerf, "12x");
    d.Find<QLineEdit>("TrimEdit")->setFocus();
    EXPECT_EQ(form.Document().Input().Allowances.Kerf, 10);
    EXPECT_EQ(kerf->text(), "10mm");

    auto* trim = d.Find<QLineEdit>("TrimEdit");
    trim->setText("mm");
    EXPECT_EQ(form.Document().Input().Allowances.Trim, 25);

    // The spin buttons step within the limits (AllowanceEdits); the offcut's down to 0 is
    // Scrap All Waste.
    auto* panel = form.findChild<SettingsPanel*>();
    ASSERT_NE(panel, nullptr);
    d.Find<QLineEdit>("HoldEdit")->setText("10");
    panel->stepUp(AllowanceField::Hold);
    EXPECT_EQ(d.Text("HoldEdit"), "35mm");
    d.Find<QLineEdit>("OffcutEdit")->setText("25");
    QTest::mouseClick(panel->Spin(AllowanceField::Offcut)->Down(), Qt::LeftButton);
    EXPECT_EQ(form.Document().Input().Allowances.Offcut, 0);
    auto* scrapAll = d.Find<QCheckBox>("NoOffcuts");
    EXPECT_TRUE(scrapAll->isChecked());
    EXPECT_TRUE(form.Document().Input().Allowances.NoOffcuts);
    EXPECT_FALSE(d.Find<QLineEdit>("OffcutEdit")->isEnabled());
    EXPECT_FALSE(d.Find<QLabel>("LScrap")->isEnabled());
    EXPECT_FALSE(panel->Spin(AllowanceField::Offcut)->isEnabled());
    scrapAll->setChecked(false);
    EXPECT_TRUE(d.Find<QLineEdit>("OffcutEdit")->isEnabled());
    EXPECT_TRUE(form.JobModified());  // a typed allowance is a change of the job
}

TEST(MainWindowCalculation, TypedRowsToStatisticsAndCuttingList) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Find<QLineEdit>("HoldEdit")->setText("25");
    d.AddStock("*", "6050");
    d.AddCut("5", "1000");
    d.Find<QLineEdit>("WeightEdit")->setText("10");
    d.Find<QLineEdit>("CostEdit")->setText("500");
    testing::CalculateAndWait(form);

    EXPECT_TRUE(form.ResultsValid());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(d.Text("WeightEdit"), "10.000");
    EXPECT_EQ(d.Text("CostEdit"), "500.00");
    // The cutting list's lines are the results' (MakeCuttingList); here, that it is shown.
    EXPECT_TRUE(d.Find<QPlainTextEdit>("CuttingList")
                    ->toPlainText()
                    .startsWith(" Cutting Pattern Number 1:\n    From 1 at 6025mm"));
    // 6.05 m of stock, 5 m cut (5000 / 6050 = 82.64 %), at 10 kg/m and 500 a tonne.
    EXPECT_EQ(d.Text("m1"), "6.050m");
    EXPECT_EQ(d.Text("p2"), "82.64%");
    EXPECT_EQ(d.Text("cs1"), "\u00A330.25");
    EXPECT_EQ(d.Text("k2"), "50.000kg");
    EXPECT_EQ(d.Text("m5"), "0.015m");
    EXPECT_TRUE(form.StatusText(2).startsWith("Calculation Time : 0 minutes "));
    for (const char* button : {"SaveButton", "PrintPDFButton", "DiagramButton", "CostingButton"}) {
        EXPECT_TRUE(d.Find<QToolButton>(button)->isEnabled()) << button;
    }
    EXPECT_FALSE(form.Progress()->isVisible());
    EXPECT_EQ(form.Progress()->Line(2), "Cut lengths allocated: 5");

    // With results shown the statistics follow the allowances and prices at once.
    d.Find<QLineEdit>("OffcutEdit")->setText("500");
    EXPECT_EQ(d.Text("m3"), "1.010m");  // 985 + 25 hold comes back as an offcut
    d.Find<QRadioButton>("RadioButton2")->click();
    EXPECT_EQ(d.Text("cs1"), "\u00A33,025.00");
    EXPECT_EQ(d.Find<QPlainTextEdit>("CuttingList")->toPlainText().count("Return"), 0);
    d.Find<QCheckBox>("NoOffcuts")->setChecked(true);
    EXPECT_EQ(d.Text("m3"), "0.000m");
}

TEST(MainWindowCosting, TheWindowsWeightAndPriceComeBack) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6050");
    d.AddCut("5", "1000");
    d.Find<QLineEdit>("WeightEdit")->setText("12.5");
    d.Find<QLineEdit>("CostEdit")->setText("300");
    testing::CalculateAndWait(form);
    EXPECT_EQ(d.Text("k1"), "75.625kg");  // 6.05 m at 12.5 kg/m

    QString shownWeight, shownCost;
    QTimer::singleShot(0, [&] {
        CostingWindow* costing = form.Costing();
        shownWeight = costing->findChild<QLineEdit*>("CWeightEdit")->text();
        shownCost = costing->findChild<QLineEdit*>("CCostEdit")->text();
        costing->findChild<QLineEdit*>("CWeightEdit")->setText("20");
        costing->findChild<QRadioButton*>("CMRadioM")->click();
        costing->close();
    });
    form.showCosting();
    EXPECT_EQ(shownWeight, "12.500");
    EXPECT_EQ(shownCost, "300.00");
    EXPECT_EQ(d.Text("WeightEdit"), "20");  // the costing field's text, as typed
    EXPECT_EQ(form.Document().Input().Section.Weight, 20.0);
    EXPECT_EQ(form.Document().Input().Section.CostType, "Metre");
    EXPECT_TRUE(d.Find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(d.Text("k1"), "121.000kg");
    EXPECT_EQ(d.Text("cs1"), "\u00A31,815.00");  // 6.05 m at 300 a metre
}

TEST(MainWindowCalculation, TooShortStockAndTheFastQuestion) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "3000");
    d.AddCut("1", "4000");
    testing::CalculateAndWait(form);
    ASSERT_FALSE(d.dialogs.messages.empty());
    EXPECT_EQ(d.dialogs.messages.back(),
              "You have not entered a stock length long enough to cut a length of 4000mm.\r\n"
              "Please check your stock length entries.");
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.ResultsValid());
    EXPECT_FALSE(d.Find<QToolButton>("PrintPDFButton")->isEnabled());
    EXPECT_EQ(form.StatusText(2), "");

    for (int i = 1; i <= 41; ++i)
        form.Document().Input().CutRows.push_back({"1", std::to_string(10 * i - 3)});
    d.dialogs.answers = {MessageAnswer::Yes};
    testing::CalculateAndWait(form);
    EXPECT_NE(
        std::find(d.dialogs.messages.begin(), d.dialogs.messages.end(),
                  "This calculation may take some time to process.\r\n"
                  "Would you like to switch to the potentially less accurate Fast Algorithm?"),
        d.dialogs.messages.end());
    EXPECT_EQ(form.ChosenAlgorithm(), Algorithm::Fast);
    EXPECT_TRUE(d.Find<QAction>("Fast")->isChecked());
    EXPECT_FALSE(d.Find<QAction>("Complex")->isChecked());
}

TEST(MainWindowCalculation, AWindowClosedWhileACalculationRunsNeverHangs) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "3000");
    for (int i = 1; i <= 41; ++i)
        form.Document().Input().CutRows.push_back({"1", std::to_string(10 * i - 3)});
    form.calculate();
    // The question of large jobs is asked before the worker starts, never from it.
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_TRUE(form.Calculating());
    d.form.reset();
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
}

TEST(MainWindowCalculation, OptimalSaysInTheStatusBarHowItsPlanStandsAgainstTheBound) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("7", "1200");
    d.AddCut("5", "2300");
    d.AddCut("9", "700");
    d.Find<QAction>("Optimal")->trigger();
    EXPECT_EQ(form.ChosenAlgorithm(), Algorithm::Optimal);
    EXPECT_FALSE(d.Find<QAction>("Complex")->isChecked());
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
    const QString status = form.StatusText(2);
    EXPECT_TRUE(status.startsWith("Calculation Time : ")) << status.toStdString();
    EXPECT_TRUE(status.endsWith("   Optimal: 5 bars, lower bound 5, proven optimal"))
        << status.toStdString();
    EXPECT_EQ(d.Find<QLabel>("StatusPanel2")->toolTip(), status);
    // The whole line shows: the panel is as tall as its lines, the lists keep their room.
    QLabel* panel = d.Find<QLabel>("StatusPanel2");
    QApplication::processEvents();
    EXPECT_GE(panel->height(), panel->heightForWidth(panel->width()));
    EXPECT_GE(form.centralWidget()->height(), form.centralWidget()->minimumHeight());
    EXPECT_TRUE(d.Find<QAction>("Optimal")->isChecked());
    EXPECT_EQ(form.ChosenAlgorithm(), Algorithm::Optimal);  // kept for the next calculation

    // Optimal never asks about large jobs: there is nothing faster to switch to.
    for (int i = 1; i <= 41; ++i)
        form.Document().Input().CutRows.push_back({"1", std::to_string(10 * i + 3)});
    testing::CalculateAndWait(form);
    EXPECT_TRUE(d.dialogs.messages.empty());
    EXPECT_TRUE(form.StatusText(2).contains("   Optimal: "));

    d.Find<QAction>("Fast")->trigger();
    testing::CalculateAndWait(form);
    EXPECT_FALSE(form.StatusText(2).contains("Optimal"));
}

TEST(MainWindowCalculation, TheOptimalTimeLimitIsAskedCheckedAndKept) {
    Desktop d;
    d.Start();
    auto* item = d.Find<QAction>("OptimalTimeLimit");
    d.dialogs.texts = {std::string("ten"), std::string("0"), std::nullopt, std::string(" 30 ")};
    for (int i = 0; i < 4; ++i) item->trigger();
    ASSERT_EQ(d.dialogs.textQuestions.size(), 4u);
    EXPECT_EQ(d.dialogs.textQuestions[0].Title, "Optimal Time Limit");
    EXPECT_EQ(d.dialogs.textQuestions[0].Prompt,
              "Seconds the Optimal algorithm may search (1 to 3600):");
    // A bad answer is refused with a message and changes nothing; Cancel says nothing.
    EXPECT_EQ(d.dialogs.textQuestions[3].Initial, "10");
    EXPECT_EQ(d.dialogs.messages,
              std::vector<std::string>(
                  2, "The time limit must be a whole number of seconds from 1 to 3600."));
    EXPECT_EQ(d.store.ReadInteger(RegistryRoot::CurrentUser, MainKey, "OptimalSeconds"), 30);
    d.dialogs.texts = {std::nullopt};
    item->trigger();
    EXPECT_EQ(d.dialogs.textQuestions.back().Initial, "30");

    // The next start asks with the limit kept (which stored limits are read: SettingsTest).
    d.form.reset();
    Desktop again;
    again.store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    again.store.WriteString(RegistryRoot::CurrentUser, MainKey, "RSet", "True");
    again.store.WriteInteger(RegistryRoot::CurrentUser, MainKey, "OptimalSeconds", 30);
    again.Start();
    again.Find<QAction>("OptimalTimeLimit")->trigger();
    EXPECT_EQ(again.dialogs.textQuestions.back().Initial, "30");
}

TEST(MainWindowCalculation, TheOptimalThreadsAreAskedCheckedAndKept) {
    Desktop d;
    d.Start();
    auto* item = d.Find<QAction>("OptimalThreads");
    d.dialogs.texts = {std::string("65"), std::nullopt, std::string("1")};
    for (int i = 0; i < 3; ++i) item->trigger();
    ASSERT_EQ(d.dialogs.textQuestions.size(), 3u);
    EXPECT_EQ(d.dialogs.textQuestions[0].Title, "Optimal Threads");
    EXPECT_EQ(d.dialogs.textQuestions[0].Initial, "0");
    EXPECT_EQ(
        d.dialogs.messages,
        std::vector<std::string>{"The number of threads must be a whole number from 0 to 64."});
    EXPECT_EQ(d.store.ReadInteger(RegistryRoot::CurrentUser, MainKey, "OptimalThreads"), 1);
    d.dialogs.texts = {std::nullopt};
    item->trigger();
    EXPECT_EQ(d.dialogs.textQuestions.back().Initial, "1");
}

TEST(MainWindowSize, GrowsTheListsAndTheCuttingListAndComesBackToTheDesign) {
    Desktop d;
    MainWindow& form = d.Start();
    const QSize design = form.size();
    EXPECT_EQ(form.minimumSize(), design);
    std::map<QString, QRect> before{{"Client", form.centralWidget()->geometry()}};
    EXPECT_EQ(before["Client"].size(), form.centralWidget()->minimumSize());
    for (QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty()) before[w->objectName()] = w->geometry();
    }
    const auto grown = [&](const char* name) {
        return d.Find(name)->geometry().size() - before[name].size();
    };

    form.resize(1600, 1000);
    QApplication::processEvents();
    const QSize extra = form.centralWidget()->size() - before["Client"].size();
    ASSERT_GT(extra.width(), 0);
    ASSERT_GT(extra.height(), 0);
    EXPECT_EQ(grown("CuttingList"), extra);
    EXPECT_EQ(grown("SListView"), QSize(0, extra.height()));
    EXPECT_EQ(grown("CListView"), QSize(0, extra.height()));
    EXPECT_EQ(d.Find("SDelete")->y() - before["SDelete"].y(), extra.height());
    // The statistics keep their size below the lists; the settings stay where they were.
    EXPECT_EQ(d.Find("StatisticsPanel")->geometry(),
              before["StatisticsPanel"].translated(0, extra.height()));
    EXPECT_EQ(d.Find("SettingsPanel")->geometry(), before["SettingsPanel"]);
    EXPECT_LE(d.Find("StatisticsPanel")->geometry().bottom(), form.centralWidget()->height());

    form.resize(200, 200);  // never smaller than the design
    QApplication::processEvents();
    EXPECT_EQ(form.size(), design);
    for (QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        // Qt's own parts of the lists move as the lists do; ours must be back in place.
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            EXPECT_EQ(w->geometry(), before[w->objectName()]) << w->objectName().toStdString();
        }
    }
}

TEST(MainWindowSize, TheNextStartOpensAtTheSizeTheUserLeft) {
    Desktop d;
    d.Start().resize(1300, 900);
    QApplication::processEvents();
    d.form->close();
    const auto kept = d.store.ReadString(RegistryRoot::CurrentUser, MainKey, "WindowGeometry");
    ASSERT_TRUE(kept.has_value());

    Desktop again;
    again.store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    again.store.WriteString(RegistryRoot::CurrentUser, MainKey, "RSet", "True");
    again.store.WriteString(RegistryRoot::CurrentUser, MainKey, "WindowGeometry", *kept);
    EXPECT_EQ(again.Start().size(), QSize(1300, 900));

    // A value that is not a window's geometry leaves the design size.
    Desktop odd;
    odd.store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    odd.store.WriteString(RegistryRoot::CurrentUser, MainKey, "RSet", "True");
    odd.store.WriteString(RegistryRoot::CurrentUser, MainKey, "WindowGeometry", "not a window");
    const QSize opened = odd.Start().size();
    EXPECT_EQ(opened, odd.form->minimumSize());
}

TEST(MainWindowKeys, ShortcutsOpenTheDiagramAndTheCostingAndTheMenusShowThem) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    QTest::keyClick(&form, Qt::Key_F9);
    testing::WaitForCalculation(form);
    ASSERT_TRUE(form.ResultsValid());
    // The window system gives the window back its activation when the progress window goes.
    QApplication::setActiveWindow(&form);

    // From the box the user is typing in, as from anywhere in the window.
    d.Find("CQEdit")->setFocus();
    QStringList shown;
    for (const Qt::Key key : {Qt::Key_D, Qt::Key_M}) {
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w != &form && w->isVisible() && qobject_cast<QDialog*>(w) != nullptr) {
                    shown << w->objectName();
                    w->close();
                }
            }
        });
        QApplication::setActiveWindow(&form);  // back from the window closed before
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(shown.join(","), "DiagramWindow,CostingWindow");
}

TEST(MainWindowHints, HintsShowAsToolTipsUnderTheSameSwitch) {
    Desktop d;
    MainWindow& form = d.Start();
    const auto tipOver = [&](QWidget* w) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(w, &help);
        return (QToolTip::isVisible() ? QToolTip::text() : QString()).toStdString();
    };
    QWidget* quantity = d.Find("SQEdit");
    ASSERT_FALSE(quantity->statusTip().isEmpty());
    EXPECT_EQ(tipOver(quantity), quantity->statusTip().toStdString());
    EXPECT_EQ(tipOver(d.Find("CalculateButton")),
              "Work out the cutting patterns for the lengths entered (F9)");

    form.toggleHints();
    EXPECT_EQ(tipOver(quantity), "");
    EXPECT_EQ(tipOver(d.Find("CalculateButton")), "");
}

TEST(MainWindowDrop, AJobFileDroppedOnTheWindowOpensAfterTheSavePrompt) {
    Desktop d;
    MainWindow& form = d.Start();
    const QString job = QStringLiteral(TALLORA_EXAMPLES_DIR "/beam-job.tlf");
    const auto drag = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
        QApplication::processEvents();
        return true;
    };
    // Only one local job file is taken.
    EXPECT_FALSE(drag({QUrl::fromLocalFile(QStringLiteral(TALLORA_EXAMPLES_DIR "/notes.txt"))}));
    EXPECT_FALSE(drag({QUrl::fromLocalFile(job), QUrl::fromLocalFile(job)}));
    EXPECT_FALSE(drag({QUrl(QStringLiteral("https://example.com/beam-job.tlf"))}));

    // Unsaved work is asked about first; Cancel keeps it.
    d.AddStock("3", "6100");
    d.dialogs.answers = {MessageAnswer::Cancel};
    ASSERT_TRUE(drag({QUrl::fromLocalFile(job)}));
    EXPECT_EQ(d.dialogs.messages.back(), "Save changes to untitled ?");  // as File, Open asks
    EXPECT_EQ(form.Document().Input().StockRows, Rows({{"3", "6100"}}));

    d.dialogs.answers = {MessageAnswer::No};
    ASSERT_TRUE(drag({QUrl::fromLocalFile(job)}));
    EXPECT_EQ(form.windowTitle(), "Tallora: [beam-job]");
    EXPECT_EQ(form.Document().Input().StockRows, Rows({{"*", "6000"}, {"4", "12000"}}));
    EXPECT_EQ(d.store.ReadString(RegistryRoot::CurrentUser, MainKey, "LastDir"),
              std::string(TALLORA_EXAMPLES_DIR "/"));
}

TEST(MainWindowHints, TheSwitchAndItsCaption) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* hints = d.Find<QAction>("Hints");
    EXPECT_EQ(hints->text(), "&Turn hints off");
    form.toggleHints();
    EXPECT_EQ(hints->text(), "&Turn hints on");

    form.showHelp();
    ASSERT_EQ(d.opened.size(), 1u);
    EXPECT_TRUE(d.opened[0].endsWith("help/Welcome.html"));
    form.close();  // a normal end stores the setting

    Desktop again;
    again.store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    again.store.WriteString(RegistryRoot::CurrentUser, MainKey, "RSet", "True");
    again.store.WriteInteger(RegistryRoot::CurrentUser, MainKey, "Hints", 0);
    again.Start();
    EXPECT_EQ(again.Find<QAction>("Hints")->text(), "&Turn hints on");
}

TEST(MainWindowHints, AHintNeverStaysOverTheStatusBarOnceAJobLoadsOrCalculates) {
    Desktop d;
    MainWindow& form = d.Start();
    const auto hint = [&] {
        QStatusTipEvent tip(QStringLiteral("Enter the quantity of this length"));
        QApplication::sendEvent(d.Find("SQEdit"), &tip);
        EXPECT_FALSE(form.statusBar()->currentMessage().isEmpty());
    };
    const QString job = QStringLiteral(TALLORA_EXAMPLES_DIR "/beam-job.tlf");
    hint();
    d.dialogs.openFiles = {job.toStdString()};
    form.openJob();
    // The row counts show, not the hint of the control the pointer rested on.
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(form.StatusText(0), "2 Different stock lengths available");
    hint();
    testing::CalculateAndWait(form);
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
}

TEST(DocumentSettings, TheSettingsMessageComesOnlyWhenTheFileChangesThemAndAfterTheJobShows) {
    Desktop d;
    MainWindow& form = d.Start();
    TestJob trimmed;
    trimmed.Input.StockRows = {{"*", "6000"}};
    trimmed.Input.CutRows = {{"2", "1000"}};
    trimmed.Input.Allowances.Trim = 10;
    const std::string path = d.temp.File("trim10.tlf");
    ASSERT_EQ(SaveFile(path, trimmed.Input, trimmed.Result, Statistics{}), "");
    // The window shows the file's rows when the message comes.
    std::size_t rowsShown = 0;
    d.dialogs.watch = [&](const std::string& text) {
        if (text == SettingsChangedMessage) rowsShown = form.Document().Input().CutRows.size();
    };
    d.dialogs.openFiles = {path};
    form.openJob();
    EXPECT_EQ(
        std::count(d.dialogs.messages.begin(), d.dialogs.messages.end(), SettingsChangedMessage),
        1);
    EXPECT_EQ(rowsShown, 1u);
    // The same file again changes nothing: no message.
    d.dialogs.openFiles = {path};
    form.openJob();
    EXPECT_EQ(
        std::count(d.dialogs.messages.begin(), d.dialogs.messages.end(), SettingsChangedMessage),
        1);
}

TEST(MainWindowCalculation, TheProgressWindowSaysWhatTheCalculationDoesAndForHowLong) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("3", "1000");
    form.chooseOptimal();
    // However soon the calculation ends, the window opens: its first report is never lost.
    struct ShowCounter : QObject {
        int shown = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            shown += event->type() == QEvent::Show;
            return false;
        }
    } counter;
    form.Progress()->installEventFilter(&counter);
    testing::CalculateAndWait(form);
    EXPECT_EQ(counter.shown, 1);
    // The Optimal search names itself with its time limit, whatever it reached; the line stays
    // until the next calculation.
    const QString activity = form.Progress()->Line(4);
    EXPECT_TRUE(activity.endsWith(QStringLiteral(" of 10 s"))) << activity.toStdString();
    EXPECT_FALSE(form.Progress()->isVisible());
}

// Widgets whose text is wider than the room they were given, in a window and its children.
std::vector<std::string> ClippedTexts(QWidget* window) {
    std::vector<std::string> clipped;
    window->ensurePolished();
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty() || !label->isVisibleTo(window)) continue;
        if (label->sizeHint().width() > label->width())
            clipped.push_back(label->text().toStdString() + " " +
                              std::to_string(label->sizeHint().width()) + ">" +
                              std::to_string(label->width()));
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty() || !button->isVisibleTo(window)) continue;
        if (qobject_cast<QToolButton*>(button) != nullptr)
            continue;  // the tool bar lays itself out
        // A push button's size hint has a minimum width; its text needs less.
        const int needed = qobject_cast<QPushButton*>(button) != nullptr
                               ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                               : button->sizeHint().width();
        if (needed > button->width())
            clipped.push_back(button->text().toStdString() + " " + std::to_string(needed) + ">" +
                              std::to_string(button->width()));
    }
    return clipped;
}

// In German every caption, label and button of the main window, the costing window and the
// progress window shows whole, in a metric and an imperial job alike.
TEST(MainWindowGerman, NoTextIsClipped) {
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(":/i18n/tallora_de.qm")));
    QCoreApplication::installTranslator(&german);
    // The face and size the program sets at its start.
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    {
        Desktop d;
        MainWindow& form = d.Start();
        EXPECT_EQ(d.Find<QGroupBox>("SettingsPanel")->title(), " Einstellungen ");
        for (const char* units : {"JobUnitsmetric", "JobUnitsimperial1/16"}) {
            d.Find<QAction>(units)->trigger();
            QApplication::processEvents();
            for (QWidget* window :
                 {static_cast<QWidget*>(&form), static_cast<QWidget*>(form.Costing()),
                  static_cast<QWidget*>(form.Progress())}) {
                // Shown, so that their layouts give every widget its room.
                window->show();
                if (window->layout() != nullptr) window->layout()->activate();
                QApplication::processEvents();
                EXPECT_EQ(ClippedTexts(window), std::vector<std::string>())
                    << units << " " << window->objectName().toStdString();
                if (window != &form) window->hide();
            }
        }
    }
    QApplication::setFont(font);
    QCoreApplication::removeTranslator(&german);
}

// The core's texts in German: the cutting list line by line, with its figures and indents kept,
// and the inventory's messages with their counts and names; a status line that ends like a count
// ("... of inventory offcuts") is still translated phrase by phrase. Without the translation
// every text is the core's own.
TEST(MainWindowGerman, TheCoresTextsReadInGerman) {
    TestJob left = testing::LeftOverJob();
    TestJob worked = testing::WorkedExampleJob(300);
    std::vector<std::string> lines;
    for (TestJob* job : {&left, &worked}) {
        testing::StatsOf(*job);
        for (const std::string& line : MakeCuttingList(job->Input, job->Result))
            lines.push_back(line);
    }
    const std::string status =
        "Optimal: 12.000 m of new stock and 3.000 m of inventory offcuts, proven optimal";
    const testing::TempFolder folder;
    const std::string notADatabase = folder.File("offcuts.db");
    testing::WriteBytes(notADatabase, "not a database");
    std::string damaged;
    try {
        OffcutStore::Open(notADatabase);
    } catch (const InventoryError& e) {
        damaged = e.what();
    }
    ASSERT_FALSE(damaged.empty());

    // The saw sheet's and the labels' lines, as the print engine is handed them.
    {
        RecordingPrintEngine engine;
        engine.OpenDoc();
        const ReportLanguage language = [](const std::string& english) {
            return CoreText(english).toStdString();
        };
        const SawSheet sheet = MakeSawSheet(worked.Input, worked.Result);
        std::vector<std::string> paper;
        QTranslator german;
        ASSERT_TRUE(german.load(QStringLiteral(":/i18n/tallora_de.qm")));
        QCoreApplication::installTranslator(&german);
        LayOutSawSheet(engine, worked.Input, worked.Result, sheet, language);
        for (const PieceLabel& label :
             MakePieceLabels(worked.Input, worked.Result, sheet, {{0, 7}}, language))
            paper.insert(paper.end(), label.Lines.begin(), label.Lines.end());
        QCoreApplication::removeTranslator(&german);
        for (const auto& o : engine.Objects()) paper.push_back(o.Text.substr(o.Text.find(']') + 1));
        static const QRegularExpression english(QStringLiteral(
            "\\b(Saw|sheet|Bars?|cuts?|Length|sawn|Kerf|trim|hold|order|remaining|Keep|Scrap|"
            "pattern|Pattern|bar|of|inventory|Section|Return)\\b"));
        for (const std::string& text : paper) {
            EXPECT_FALSE(english.match(QString::fromStdString(text)).hasMatch()) << text;
        }
    }

    for (const std::string& line : lines) EXPECT_EQ(CoreText(line).toStdString(), line);

    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(":/i18n/tallora_de.qm")));
    QCoreApplication::installTranslator(&german);
    static const QRegularExpression figures(QStringLiteral("[0-9]+"));
    static const QRegularExpression english(
        QStringLiteral("\\b(cut|cuts|producing|bars?|Return|Pattern|Total|following|stock|"
                       "offcuts?|inventory|pieces?|damaged|left)\\b"));
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        const QString shown = CoreText(line);
        const QString was = QString::fromStdString(line);
        EXPECT_FALSE(english.match(shown).hasMatch()) << line << " -> " << shown.toStdString();
        const auto indent = [](const QString& text) {
            return text.size() - QString(text).remove(QRegularExpression("^ +")).size();
        };
        EXPECT_EQ(indent(shown), indent(was)) << line;
        for (auto m = figures.globalMatch(was); m.hasNext();)
            EXPECT_TRUE(shown.contains(m.next().captured())) << line;
    }
    const QString shownStatus = CoreText(status);
    EXPECT_TRUE(shownStatus.contains(QStringLiteral("an neuem Material und")))
        << shownStatus.toStdString();
    EXPECT_TRUE(shownStatus.endsWith(QStringLiteral("an Lager-Reststücken, nachweislich optimal")))
        << shownStatus.toStdString();
    QString shownDamage = CoreText(damaged);
    EXPECT_TRUE(shownDamage.contains(QString::fromStdString(notADatabase)));
    shownDamage.remove(QString::fromStdString(notADatabase));
    EXPECT_FALSE(english.match(shownDamage).hasMatch()) << shownDamage.toStdString();
    QCoreApplication::removeTranslator(&german);
}

}  // namespace
}  // namespace tallora
