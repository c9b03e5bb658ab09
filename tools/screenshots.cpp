// Takes the pictures of the user guide and the README: the real windows, driven as a user would,
// grabbed under a display (run it with xvfb-run: scripts/screenshots).
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <iostream>

#include "gui/MainWindow.h"
#include "gui/costing/CostingWindow.h"
#include "gui/inventory/InventoryWindow.h"
#include "gui/results/DiagramWindow.h"
#include "support/MemoryRegistry.h"
#include "support/TestJob.h"

namespace {

using namespace tallora;

// A data folder of the pictures' own, gone when they are taken.
class TempShell : public SystemShell {
public:
    explicit TempShell(std::string folder) : folder_(std::move(folder)) {}
    ~TempShell() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string LocalAppDataFolder() override { return folder_; }

private:
    std::string folder_;
};

void Type(QWidget& window, const char* name, const QString& text, bool enter) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
    if (enter) QTest::keyClick(edit, Qt::Key_Return);
}

void Row(QWidget& window, const char* quantity, const char* length, const QString& q,
         const QString& l) {
    Type(window, quantity, q, true);
    Type(window, length, l, true);
}

bool Save(QWidget& widget, const QString& file) {
    QApplication::processEvents();
    const bool saved = widget.grab().save(file);
    std::cout << (saved ? "wrote " : "could not write ") << file.toStdString() << "\n";
    return saved;
}

// A job of forty patterns, as a long cutting list gives: 6000 mm bars (trim 10, kerf 3) filled
// from a rotating list of lengths, the remnant an offcut from 500 mm.
TestJob BigJob() {
    const int lengths[] = {2450, 1830, 1450, 965, 780, 620, 540, 410, 1205, 2130};
    TestJob job;
    job.Input.Allowances = {3, 10, 0, 500, false};
    for (const int length : lengths) job.Result.InputCutLength.push_back(length + 3);
    for (int i = 0; i < 40; ++i) {
        CuttingPattern p;
        p.StockLength = 5990;
        p.BarCount = 1 + (i * 7) % 5;
        int used = 0;
        for (int k = 0; k < 3; ++k) {
            const int cut = lengths[(i * 3 + k * 7) % 10] + 3;
            int count = 0;
            while (used + cut <= p.StockLength && count < 1 + (i + k) % 3) {
                used += cut;
                ++count;
            }
            if (count > 0) {
                p.CutLength.push_back(cut);
                p.PieceCount.push_back(count);
            }
        }
        p.OffcutLength = p.StockLength - used;
        p.IsOffcut = p.OffcutLength >= job.Input.Allowances.Offcut;
        job.Result.Patterns.push_back(p);
    }
    return job;
}

}  // namespace

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(gui);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallora"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);

    MemoryRegistry store;
    TempShell shell(QDir::tempPath().toStdString() + "/tallora-screenshots");
    SilentDialogs dialogs;
    MainWindow form(DesktopServices{store, shell, dialogs, NumberFormat::UK(),
                                    [](const QString&) { return true; }, [] {}});
    form.showAndStart({});
    QApplication::setActiveWindow(&form);
    bool ok = Save(form, out + QStringLiteral("/guide-start.png"));

    // The beam job of the guide, typed in.
    Row(form, "SQEdit", "SLEdit", QStringLiteral("*"), QStringLiteral("6000"));
    Row(form, "SQEdit", "SLEdit", QStringLiteral("4"), QStringLiteral("12000"));
    Row(form, "CQEdit", "CLEdit", QStringLiteral("6"), QStringLiteral("2450"));
    Row(form, "CQEdit", "CLEdit", QStringLiteral("4"), QStringLiteral("1830"));
    Row(form, "CQEdit", "CLEdit", QStringLiteral("10"), QStringLiteral("965"));
    Row(form, "CQEdit", "CLEdit", QStringLiteral("3"), QStringLiteral("3200"));
    // The pieces' marks, typed in the cut list's Mark column.
    QAbstractItemModel* cuts = form.findChild<QTreeView*>(QStringLiteral("CListView"))->model();
    const char* marks[] = {"G1", "G2", "B5", "R1"};
    for (int row = 0; row < 4; ++row)
        cuts->setData(cuts->index(row, 2), QString::fromLatin1(marks[row]));
    form.findChild<QLineEdit*>(QStringLiteral("OffcutEdit"))->setText(QStringLiteral("500mm"));
    form.findChild<QLineEdit*>(QStringLiteral("CustomerEdit"))
        ->setText(QStringLiteral("Harbour Works Ltd"));
    form.findChild<QLineEdit*>(QStringLiteral("ReferenceEdit"))->setText(QStringLiteral("HW-2291"));
    form.findChild<QLineEdit*>(QStringLiteral("SectionEdit"))
        ->setText(QStringLiteral("152x89 UB 16"));
    form.findChild<QLineEdit*>(QStringLiteral("WeightEdit"))->setText(QStringLiteral("16"));
    form.findChild<QLineEdit*>(QStringLiteral("CostEdit"))->setText(QStringLiteral("720"));
    form.findChild<QLineEdit*>(QStringLiteral("SQEdit"))->setFocus();
    ok = Save(form, out + QStringLiteral("/guide-entered.png")) && ok;

    {
        // The calculation runs on its worker: the picture is taken when it has ended.
        QSignalSpy finished(&form, &MainWindow::calculationFinished);
        form.calculate();
        if (form.Calculating()) finished.wait(60000);
    }
    ok = Save(form, out + QStringLiteral("/main-window.png")) && ok;

    // The diagram viewer at its own size, then the costing window with a cutting charge.
    QTimer::singleShot(300, [&] {
        if (auto* viewer = form.findChild<DiagramWindow*>()) {
            ok = Save(*viewer, out + QStringLiteral("/diagram-viewer.png")) && ok;
            viewer->close();
        }
    });
    form.showDiagram();
    QTimer::singleShot(300, [&] {
        CostingWindow* costing = form.Costing();
        costing->findChild<QRadioButton*>(QStringLiteral("CCRadioC"))->click();
        costing->findChild<QLineEdit*>(QStringLiteral("CCutEdit"))->setText(QStringLiteral("0.85"));
        ok = Save(*costing, out + QStringLiteral("/costing-window.png")) && ok;
        costing->close();
    });
    form.showCosting();

    // The same window made as large as the screen allows.
    form.resize(1280, 860);
    ok = Save(form, out + QStringLiteral("/main-window-large.png")) && ok;

    // A big job: the viewer scrolls, zoomed once so the pieces carry their lengths, and says
    // what the mouse points at.
    {
        const TestJob big = BigJob();
        DiagramWindow viewer(big.Input, big.Result, &form);
        viewer.resize(900, 640);
        viewer.show();
        QApplication::processEvents();
        viewer.ZoomIn();
        viewer.ScrollArea()->horizontalScrollBar()->setValue(0);
        viewer.ScrollArea()->verticalScrollBar()->setValue(300);
        QApplication::processEvents();
        // The mouse on the first 1450 mm piece in view.
        DiagramImage* image = viewer.Image();
        const QtTextMeasurer measurer = DiagramMeasurer();
        for (int y = 420; y < 700; y += 10) {
            bool found = false;
            for (int x = 20; x < 800 && !found; x += 10) {
                const DiagramHit hit = DiagramHitAt(big.Input, big.Result, image->width(),
                                                    image->height(), measurer, x, y);
                if (hit.Part != DiagramPart::Piece || hit.Length != 1450) continue;
                QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                                 QPointF(image->mapToGlobal(QPoint(x, y))), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(image, &move);
                found = true;
            }
            if (found) break;
        }
        ok = Save(viewer, out + QStringLiteral("/diagram-big-job.png")) && ok;
        viewer.close();
    }

    // A job of one stock length, calculated with Optimal: the status bar gives its bound.
    MainWindow optimal(DesktopServices{store, shell, dialogs, NumberFormat::UK(),
                                       [](const QString&) { return true; }, [] {}});
    optimal.showAndStart({});
    QApplication::setActiveWindow(&optimal);
    Row(optimal, "SQEdit", "SLEdit", QStringLiteral("*"), QStringLiteral("6000"));
    Row(optimal, "CQEdit", "CLEdit", QStringLiteral("12"), QStringLiteral("1450"));
    Row(optimal, "CQEdit", "CLEdit", QStringLiteral("9"), QStringLiteral("2130"));
    Row(optimal, "CQEdit", "CLEdit", QStringLiteral("16"), QStringLiteral("780"));
    Row(optimal, "CQEdit", "CLEdit", QStringLiteral("6"), QStringLiteral("3020"));
    optimal.chooseOptimal();
    {
        QSignalSpy finished(&optimal, &MainWindow::calculationFinished);
        optimal.calculate();
        if (optimal.Calculating()) finished.wait(60000);
    }
    ok = Save(optimal, out + QStringLiteral("/optimal-status.png")) && ok;

    // The inventory's worked example: a frame job books its offcuts, the next job of the section
    // cuts them first.
    MainWindow frame(DesktopServices{store, shell, dialogs, NumberFormat::UK(),
                                     [](const QString&) { return true; }, [] {}});
    frame.showAndStart({});
    QApplication::setActiveWindow(&frame);
    frame.findChild<QLineEdit*>(QStringLiteral("SectionEdit"))
        ->setText(QStringLiteral("100x100x5 SHS"));
    frame.findChild<QLineEdit*>(QStringLiteral("ReferenceEdit"))
        ->setText(QStringLiteral("HW-2301"));
    frame.findChild<QLineEdit*>(QStringLiteral("OffcutEdit"))->setText(QStringLiteral("500mm"));
    Row(frame, "SQEdit", "SLEdit", QStringLiteral("*"), QStringLiteral("6000"));
    Row(frame, "CQEdit", "CLEdit", QStringLiteral("8"), QStringLiteral("1750"));
    {
        QSignalSpy finished(&frame, &MainWindow::calculationFinished);
        frame.calculate();
        if (frame.Calculating()) finished.wait(60000);
    }
    frame.bookOffcuts();
    frame.newJob();
    frame.findChild<QLineEdit*>(QStringLiteral("SectionEdit"))
        ->setText(QStringLiteral("100x100x5 shs"));
    frame.findChild<QLineEdit*>(QStringLiteral("ReferenceEdit"))
        ->setText(QStringLiteral("HW-2302"));
    frame.findChild<QLineEdit*>(QStringLiteral("OffcutEdit"))->setText(QStringLiteral("500mm"));
    Row(frame, "SQEdit", "SLEdit", QStringLiteral("*"), QStringLiteral("6000"));
    Row(frame, "CQEdit", "CLEdit", QStringLiteral("2"), QStringLiteral("2000"));
    Row(frame, "CQEdit", "CLEdit", QStringLiteral("6"), QStringLiteral("650"));
    frame.useOffcuts();
    frame.chooseOptimal();
    {
        QSignalSpy finished(&frame, &MainWindow::calculationFinished);
        frame.calculate();
        if (frame.Calculating()) finished.wait(60000);
    }
    ok = Save(frame, out + QStringLiteral("/inventory-next-job.png")) && ok;
    frame.bookOffcuts();
    frame.showInventory();
    if (InventoryWindow* inventory = frame.Inventory()) {
        // Offcuts of other sections, put on the rack by hand.
        std::vector<NewOffcut> byHand = {{"152x89 UB 16", 2740, 2, {}, "Rack 3"},
                                         {"152x89 UB 16", 3650, 1, {}, "Rack 3"},
                                         {"50x50x5 EA", 1200, 6, {}, "Bay 1"}};
        for (const NewOffcut& offcut : byHand) {
            inventory->SetEditor([offcut](QWidget*, const QString&, const NewOffcut&) {
                return std::optional<NewOffcut>(offcut);
            });
            inventory->addOffcut();
        }
        inventory->SelectSection(std::nullopt);
        inventory->Table()->clearSelection();
        inventory->resize(860, 420);
        ok = Save(*inventory, out + QStringLiteral("/inventory-window.png")) && ok;
        inventory->close();
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
