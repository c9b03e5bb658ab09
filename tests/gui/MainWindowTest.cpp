#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <QUrl>

#include "gui/CoreTexts.h"
#include "gui/DesktopTestSupport.h"
#include "gui/ProgressWindow.h"
#include "gui/costing/CostingWindow.h"
#include "gui/entry/SettingsPanel.h"
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
using Rows = std::vector<ListRow>;

void AddCutRows(MainWindow& form, int count, int offset) {
    for (int i = 1; i <= count; ++i)
        form.Document().Input().CutRows.push_back({"1", std::to_string(10 * i + offset)});
}

// What each edit lets through and how rows merge and are limited are the entry's rules
// (KeyFilters, CommitRow); here, that the edits and lists use them, where the keyboard goes, and
// that Modify, the Delete and Backspace keys and the Delete button act on the selected rows.
TEST(MainWindowEntry, KeysRowsModifyDeleteAndTheSummary) {
    Desktop d;
    MainWindow& form = d.Start();
    const auto& input = form.Document().Input();
    EXPECT_FALSE(d.Find("CalculateButton")->isEnabled());
    // Letters never reach the quantity; Enter moves on to the length; Enter there commits.
    d.Type("SQEdit", "5a-x");
    EXPECT_EQ(d.Text("SQEdit"), "5");
    QTest::keyClick(d.Find("SQEdit"), Qt::Key_Return);
    EXPECT_TRUE(d.Find("SLEdit")->hasFocus());
    d.Type("SLEdit", "60.00", true);
    EXPECT_EQ(input.StockRows, Rows({{"5", "6000"}}));
    EXPECT_TRUE(d.Find("SQEdit")->hasFocus());
    EXPECT_EQ(form.StatusText(0), "1 Stock length available");

    // A refused row is said and kept in the edits for correction.
    d.AddCut("4", "18301");
    EXPECT_TRUE(d.SaidPart("greater than the maximum")) << d.Said();
    EXPECT_EQ(d.Text("CLEdit"), "18301");
    EXPECT_TRUE(input.CutRows.empty());
    EXPECT_FALSE(d.Find("CalculateButton")->isEnabled());

    // Modify takes the row into the edits, and Enter puts it back changed.
    auto* stock = d.Find<QTreeView>("SListView");
    testing::ClickRow(stock, 0);
    d.Click("SModify");
    EXPECT_EQ(d.Text("SQEdit") + " " + d.Text("SLEdit"), "5 6000");
    d.Find<QLineEdit>("SQEdit")->setText("6");
    QTest::keyClick(d.Find("SLEdit"), Qt::Key_Return);
    EXPECT_EQ(input.StockRows, Rows({{"6", "6000"}}));

    for (const char* edit : {"CQEdit", "CLEdit"}) d.Find<QLineEdit>(edit)->clear();
    for (int i = 1; i <= 3; ++i) d.AddCut("1", QString::number(100 * i));
    auto* cuts = d.Find<QTreeView>("CListView");
    testing::ClickRow(cuts, 0);
    testing::ClickRow(cuts, 2, Qt::ControlModifier);
    QTest::keyClick(cuts, Qt::Key_Delete);
    EXPECT_EQ(input.CutRows, Rows({{"1", "200"}}));
    testing::ClickRow(cuts, 0);
    QTest::keyClick(cuts, Qt::Key_Backspace);
    EXPECT_TRUE(input.CutRows.empty());
    testing::ClickRow(stock, 0);
    d.Click("SDelete");
    EXPECT_TRUE(input.StockRows.empty());
    EXPECT_EQ(form.StatusText(0), "");
}

// The limits of the allowances are the entry's rule (AllowanceEdits); here, the edit's focus
// and that the offcut's spin button down to 0 is Scrap All Waste (the other spin buttons and
// Scrap All's undo: UndoRedo.AllowancesScrapAll...).
TEST(MainWindowSettings, AllowanceEditsFocusAndTheOffcutSpinDownToScrapAllWaste) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* kerf = d.Find<QLineEdit>("KerfEdit");
    kerf->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(kerf->selectedText(), "3");
    QTest::keyClicks(kerf, "12x");
    d.Find<QLineEdit>("TrimEdit")->setFocus();
    EXPECT_EQ(kerf->text(), "10mm");

    auto* panel = form.findChild<SettingsPanel*>();
    ASSERT_NE(panel, nullptr);
    d.Find<QLineEdit>("OffcutEdit")->setText("25");
    QTest::mouseClick(panel->Spin(AllowanceField::Offcut)->Down(), Qt::LeftButton);
    EXPECT_TRUE(form.Document().Input().Allowances.NoOffcuts);
    EXPECT_TRUE(d.Find<QCheckBox>("NoOffcuts")->isChecked());
    EXPECT_FALSE(panel->Spin(AllowanceField::Offcut)->isEnabled());
}

// The statistics and the cutting list are the results' (Calculate, MakeCuttingList); here, that
// they are shown, follow the allowances and prices at once and come back from the costing window,
// which is modal and hands back its working copies at close.
TEST(MainWindowCalculation, TypedRowsToStatisticsCuttingListAndCosting) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Find<QLineEdit>("HoldEdit")->setText("25");
    d.AddStock("*", "6050");
    d.AddCut("5", "1000");
    d.Find<QLineEdit>("WeightEdit")->setText("10");
    d.Find<QLineEdit>("CostEdit")->setText("500");
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_TRUE(d.Find<QPlainTextEdit>("CuttingList")
                    ->toPlainText()
                    .startsWith(" Cutting Pattern Number 1:\n    From 1 at 6025mm"));
    // 6.05 m of stock, 5 m cut (5000 / 6050 = 82.64 %), at 10 kg/m and 500 a tonne.
    EXPECT_EQ(d.Text("m1") + " " + d.Text("p2") + " " + d.Text("cs1"), "6.050m 82.64% \u00A330.25");
    EXPECT_TRUE(form.StatusText(2).startsWith("Calculation Time : 0 minutes "));
    EXPECT_EQ(form.Progress()->Line(2), "Cut lengths allocated: 5");
    d.Find<QLineEdit>("OffcutEdit")->setText("500");
    EXPECT_EQ(d.Text("m3"), "1.010m");  // 985 + 25 hold comes back as an offcut

    form.Document().Input().Costing.CCutValue = 12.3456;
    QString shownWeight;
    QTimer::singleShot(0, [&] {
        CostingWindow* costing = form.Costing();
        EXPECT_TRUE(costing->isVisible() && costing->isModal());
        shownWeight = costing->findChild<QLineEdit*>("CWeightEdit")->text();
        costing->findChild<QLineEdit*>("CWeightEdit")->setText("20");
        costing->findChild<QRadioButton*>("CMRadioM")->click();
        costing->close();
    });
    form.showCosting();
    EXPECT_EQ(shownWeight, "10.000");
    EXPECT_EQ(d.Text("WeightEdit"), "20");  // the costing field's text, as typed
    EXPECT_EQ(form.Document().Input().Section.CostType, "Metre");
    EXPECT_TRUE(d.Find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(d.Text("cs1"), "\u00A33,025.00");  // 6.05 m at 500 a metre
    // The charge as shown with 2 decimals is the charge kept.
    EXPECT_DOUBLE_EQ(form.Document().Input().Costing.CCutValue, 12.35);
}

TEST(MainWindowCalculation, OptimalShowsItsProgressAndHowItsPlanStandsAgainstTheBound) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    for (const auto& [quantity, length] : {std::pair{"7", "1200"}, {"5", "2300"}, {"9", "700"}})
        d.AddCut(quantity, length);
    d.Find<QAction>("Optimal")->trigger();
    EXPECT_FALSE(d.Find<QAction>("Complex")->isChecked());
    // However soon the calculation ends, the progress window opens: its first report is kept.
    struct ShowCounter : QObject {
        int shown = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            shown += event->type() == QEvent::Show;
            return false;
        }
    } counter;
    form.Progress()->installEventFilter(&counter);
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_EQ(counter.shown, 1);
    EXPECT_TRUE(form.Progress()->Line(4).endsWith(" of 10 s"))
        << form.Progress()->Line(4).toStdString();
    const QString status = form.StatusText(2);
    EXPECT_TRUE(status.endsWith("   Optimal: 5 bars, lower bound 5, proven optimal"))
        << status.toStdString();
    // The whole line shows: the panel is as tall as its lines, the lists keep their room.
    QLabel* panel = d.Find<QLabel>("StatusPanel2");
    EXPECT_EQ(panel->toolTip(), status);
    QApplication::processEvents();
    EXPECT_GE(panel->height(), panel->heightForWidth(panel->width()));
    EXPECT_GE(form.centralWidget()->height(), form.centralWidget()->minimumHeight());

    // Optimal never asks about large jobs: there is nothing faster to switch to.
    AddCutRows(form, 41, 3);
    testing::CalculateAndWait(form);
    EXPECT_TRUE(d.dialogs.messages.empty());
    EXPECT_TRUE(form.StatusText(2).contains("   Optimal: "));
}

// Which answers are good is the settings' rule (ParseOptimalThreads, SettingsTest); here, each
// question says a bad answer, Cancel keeps the value, and a good one is kept and asked next time.
TEST(MainWindowCalculation, TheOptimalTimeLimitAndThreadsAreAskedCheckedAndKept) {
    for (const auto& [action, key, bad, good] :
         {std::tuple{"OptimalTimeLimit", "OptimalSeconds", "ten", 30},
          std::tuple{"OptimalThreads", "OptimalThreads", "65", 1}}) {
        Desktop d;
        d.Start();
        d.dialogs.texts = {bad, std::nullopt, std::to_string(good)};
        for (int i = 0; i < 4; ++i) d.Find<QAction>(action)->trigger();
        ASSERT_EQ(d.dialogs.textQuestions.size(), 4u) << action;
        EXPECT_EQ(d.dialogs.messages.size(), 1u) << action;
        EXPECT_EQ(d.store.ReadInteger(RegistryRoot::CurrentUser, MainKey, key), good) << action;
        EXPECT_EQ(d.dialogs.textQuestions[3].Initial, std::to_string(good)) << action;
    }
}

// F9 calculates; Ctrl+D and Ctrl+M open the diagram and the costing from wherever the user is.
TEST(MainWindowKeys, F9CalculatesAndTheShortcutsOpenTheOutputWindows) {
    Desktop d;
    MainWindow& form = d.Start();
    d.dialogs.openFiles = {TALLORA_EXAMPLES_DIR "/beam-job.tlf"};
    form.openJob();

    QTest::keyClick(&form, Qt::Key_F9);
    testing::WaitForCalculation(form);
    ASSERT_TRUE(form.ResultsValid());
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
        // The window system gives the window back its activation when a window goes.
        QApplication::setActiveWindow(&form);
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(shown.join(","), "DiagramWindow,CostingWindow");
}

// Which settings a file changes is the use case's rule (OpenJob.TellsOfTheFormat...); here, a job
// file dropped on the window opens as File, Open does: after the save prompt, whose Cancel keeps
// the work, and with the settings message once, after the job shows.
TEST(MainWindowDrop, AJobFileDroppedOnTheWindowOpensAfterTheSavePrompt) {
    Desktop d;
    MainWindow& form = d.Start();
    TestJob trimmed;
    trimmed.Input.CutRows = {{"2", "1000"}};
    trimmed.Input.Allowances.Trim = 10;
    const std::string path = d.temp.File("trim10.tlf");
    ASSERT_EQ(SaveFile(path, trimmed.Input, trimmed.Result, Statistics{}), "");
    const QUrl job = QUrl::fromLocalFile(QString::fromStdString(path));
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

    d.AddStock("3", "6100");
    d.dialogs.answers = {MessageAnswer::Cancel};
    ASSERT_TRUE(drag({job}));
    EXPECT_EQ(d.Said(), "Save changes to untitled ?");
    EXPECT_EQ(form.Document().Input().StockRows, Rows({{"3", "6100"}}));
    std::size_t rowsShown = 0;
    d.dialogs.watch = [&](const std::string& text) {
        if (text == SettingsChangedMessage) rowsShown = form.Document().Input().CutRows.size();
    };
    d.dialogs.answers = {MessageAnswer::No};
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(drag({job}));  // the same file again changes nothing
    EXPECT_EQ(form.windowTitle(), "Tallora: [trim10]");
    EXPECT_EQ(
        std::count(d.dialogs.messages.begin(), d.dialogs.messages.end(), SettingsChangedMessage),
        1);
    EXPECT_EQ(rowsShown, 1u);
}

// The German translation, installed while it lives.
struct German {
    QTranslator translator;
    German() {
        EXPECT_TRUE(translator.load(QStringLiteral(":/i18n/tallora_de.qm")));
        QCoreApplication::installTranslator(&translator);
    }
    ~German() { QCoreApplication::removeTranslator(&translator); }
};

// Widgets whose text is wider than the room they were given, in a window and its children.
std::vector<std::string> ClippedTexts(QWidget* window) {
    std::vector<std::string> clipped;
    window->ensurePolished();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty() || !button->isVisibleTo(window)) continue;
        if (qobject_cast<QToolButton*>(button) != nullptr)
            continue;  // the tool bar lays itself out
        // A push button's size hint has a minimum width; its text needs less.
        const int needed = qobject_cast<QPushButton*>(button) != nullptr
                               ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                               : button->sizeHint().width();
        if (needed > button->width()) clipped.push_back(button->text().toStdString());
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty() || !label->isVisibleTo(window)) continue;
        if (label->sizeHint().width() > label->width())
            clipped.push_back(label->text().toStdString());
    }
    return clipped;
}

// In German every caption, label and button of the main window, the costing window and the
// progress window shows whole, in a metric and an imperial job alike.
TEST(MainWindowGerman, NoTextIsClipped) {
    German german;
    // The face and size the program sets at its start.
    const QFont font = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    {
        Desktop d;
        MainWindow& form = d.Start();
        EXPECT_EQ(d.Find<QGroupBox>("SettingsPanel")->title(), " Einstellungen ");
        for (const char* units : {"JobUnitsmetric", "JobUnitsimperial1/16"}) {
            d.Find<QAction>(units)->trigger();
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
}

// The core's texts in German: the cutting list line by line with its figures and indents kept,
// the saw sheet's and the labels' lines. Without the
// translation every text is the core's own.
TEST(MainWindowGerman, TheCoresTextsReadInGerman) {
    TestJob left = testing::LeftOverJob();
    TestJob worked = testing::WorkedExampleJob(300);
    std::vector<std::string> lines;
    for (TestJob* job : {&left, &worked}) {
        testing::StatsOf(*job);
        for (const std::string& line : MakeCuttingList(job->Input, job->Result))
            lines.push_back(line);
    }
    for (const std::string& line : lines) EXPECT_EQ(CoreText(line).toStdString(), line);

    German german;
    static const QRegularExpression english(QStringLiteral(
        "\\b(cut|cuts|producing|bars?|Bars?|Return|Pattern|pattern|Total|following|stock|offcuts?|"
        "inventory|pieces?|damaged|left|Saw|sheet|Length|sawn|Kerf|trim|hold|order|remaining|Keep|"
        "Scrap|of|Section)\\b"));
    static const QRegularExpression figures(QStringLiteral("[0-9]+"));
    static const QRegularExpression indent(QStringLiteral("^ *"));
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        const QString shown = CoreText(line);
        const QString was = QString::fromStdString(line);
        EXPECT_FALSE(english.match(shown).hasMatch()) << line << " -> " << shown.toStdString();
        EXPECT_EQ(indent.match(shown).capturedLength(), indent.match(was).capturedLength()) << line;
        for (auto m = figures.globalMatch(was); m.hasNext();)
            EXPECT_TRUE(shown.contains(m.next().captured())) << line;
    }
    // The saw sheet's and the labels' lines, as the print engine is handed them.
    RecordingPrintEngine engine;
    engine.OpenDoc();
    const ReportLanguage language = [](const std::string& text) {
        return CoreText(text).toStdString();
    };
    const SawSheet sheet = MakeSawSheet(worked.Input, worked.Result);
    LayOutSawSheet(engine, worked.Input, worked.Result, sheet, language);
    std::vector<std::string> paper;
    for (const PieceLabel& label :
         MakePieceLabels(worked.Input, worked.Result, sheet, {{0, 7}}, language))
        paper.insert(paper.end(), label.Lines.begin(), label.Lines.end());
    for (const auto& o : engine.Objects()) paper.push_back(o.Text.substr(o.Text.find(']') + 1));
    for (const std::string& text : paper)
        EXPECT_FALSE(english.match(QString::fromStdString(text)).hasMatch()) << text;
}

}  // namespace
}  // namespace tallora
