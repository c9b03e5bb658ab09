#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include "commands/Inventory.h"
#include "gui/DesktopTestSupport.h"
#include "gui/inventory/InventoryWindow.h"
#include "support/CsvReading.h"

namespace tallora {
namespace {

using testing::Desktop;
using testing::ReadBytes;
using testing::WriteBytes;

std::string InventoryFile(const Desktop& d) { return d.DataDir() + "/" + InventoryFileName; }

// A job of the section that leaves offcuts of 6000 - 25 - 3 x 1503 = 1466 mm, kept from 1000.
void EnterOffcutJob(Desktop& d, const QString& section) {
    d.Find<QLineEdit>("SectionEdit")->setText(section);
    d.Find<QLineEdit>("OffcutEdit")->setText(QStringLiteral("1000"));
    d.AddStock(QStringLiteral("*"), QStringLiteral("6000"));
    d.AddCut(QStringLiteral("6"), QStringLiteral("1500"));
}

TEST(InventoryCommands, OffcutsBookedFromOneJobAreUsedAndBookedByTheNext) {
    Desktop d;
    MainWindow& form = d.Start();
    QAction* book = d.Find<QAction>("BookOffcuts");
    EXPECT_FALSE(book->isEnabled());  // nothing calculated yet
    EnterOffcutJob(d, QStringLiteral("IPE 200"));
    testing::CalculateAndWait(form);
    ASSERT_TRUE(book->isEnabled());
    book->trigger();
    ASSERT_FALSE(d.dialogs.messages.empty());
    EXPECT_NE(d.dialogs.messages.back().find("2 offcuts returned to stock (2.932 m)"),
              std::string::npos)
        << d.dialogs.messages.back();
    // The same calculation again: refused, the inventory as it was, the time of the first
    // booking in the locale's own form.
    book->trigger();
    EXPECT_NE(d.dialogs.messages.back().find("it is not booked twice"), std::string::npos);
    const std::string bookedAt = OffcutStore::Open(InventoryFile(d)).Bookings().at(0).BookedAt;
    const QString local = QLocale().toString(
        QDateTime::fromString(QString::fromStdString(bookedAt), Qt::ISODate).toLocalTime(),
        QLocale::ShortFormat);
    EXPECT_EQ(d.dialogs.messages.back().find(bookedAt), std::string::npos);
    EXPECT_NE(d.dialogs.messages.back().find(local.toStdString()), std::string::npos)
        << d.dialogs.messages.back();

    // The next job takes the offcuts as a marked stock row (which offcuts: BookingTest).
    d.dialogs.answers.push_back(MessageAnswer::No);  // not saved
    ASSERT_TRUE(form.newJob());
    d.Find<QLineEdit>("SectionEdit")->setText(QStringLiteral("IPE 200"));
    d.Find<QLineEdit>("OffcutEdit")->setText(QStringLiteral("1000"));
    d.AddCut(QStringLiteral("1"), QStringLiteral("1000"));
    d.Find<QAction>("UseOffcuts")->trigger();
    ASSERT_EQ(form.Document().Input().StockRows.size(), 1u);
    EXPECT_EQ(form.Document().Input().StockRows[0].Quantity, "2");
    EXPECT_EQ(form.Document().Input().StockRows[0].Length, "1466");
    QAbstractItemModel* stock = d.Find<QTreeView>("SListView")->model();
    EXPECT_TRUE(stock->index(0, 1).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_TRUE(stock->index(0, 0)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith("From the offcut inventory"));
    EXPECT_EQ(form.History().undoText(), QStringLiteral("Use Offcuts from Inventory"));
    // Asked twice, nothing is added twice.
    d.Find<QAction>("UseOffcuts")->trigger();
    EXPECT_EQ(form.Document().Input().StockRows.size(), 1u);
    EXPECT_NE(d.dialogs.messages.back().find("in the stock list already"), std::string::npos);

    testing::CalculateAndWait(form);
    book->trigger();
    EXPECT_NE(d.dialogs.messages.back().find("1 inventory offcut (1.466 m) it cut was taken"),
              std::string::npos)
        << d.dialogs.messages.back();
}

// What the saw operator is sent to the rack for is always there: a booking takes the offcuts it
// cut out of the stock list, offcuts another job booked are taken out before a calculation, and
// only the plan made from the lists as they are is booked.
TEST(InventoryCommands, NoPlanCutsAnOffcutThatIsGoneAndOnlyThePlanOfTheListsIsBooked) {
    Desktop d;
    MainWindow& form = d.Start();
    {
        OffcutStore store = OpenInventory(InventoryFile(d), d.shell);
        store.Add({"IPE 200", 2500, 2, {}, ""});
    }
    const auto bookings = [&] { return OffcutStore::Open(InventoryFile(d)).Bookings().size(); };
    const auto& stockRows = form.Document().Input().StockRows;
    QAction* book = d.Find<QAction>("BookOffcuts");
    d.Find<QLineEdit>("SectionEdit")->setText(QStringLiteral("IPE 200"));
    d.AddStock(QStringLiteral("*"), QStringLiteral("6000"));
    d.AddCut(QStringLiteral("1"), QStringLiteral("2000"));
    d.Find<QAction>("UseOffcuts")->trigger();
    ASSERT_EQ(stockRows.size(), 2u);
    testing::CalculateAndWait(form);

    // Undo takes the offcut rows away: the plan shown is no longer the lists', and is not booked.
    d.Find<QAction>("Undo")->trigger();
    d.dialogs.answers.push_back(MessageAnswer::No);
    book->trigger();
    EXPECT_NE(d.dialogs.messages.back().find("Nothing was booked"), std::string::npos);
    EXPECT_EQ(bookings(), 0u);
    // Redo puts back the lists it was made from.
    d.Find<QAction>("Redo")->trigger();
    book->trigger();
    EXPECT_NE(d.dialogs.messages.back().find("1 inventory offcut (2.500 m) it cut was taken"),
              std::string::npos)
        << d.dialogs.messages.back();
    EXPECT_NE(d.dialogs.messages.back().find("taken out of the stock list"), std::string::npos);
    EXPECT_EQ(bookings(), 1u);
    ASSERT_EQ(stockRows.size(), 2u);
    EXPECT_EQ(stockRows[1].Quantity, "1");  // of two, the one left

    // Two more pieces: Book offers a new calculation, and the new plan is booked.
    d.AddCut(QStringLiteral("2"), QStringLiteral("2000"));
    d.dialogs.answers.push_back(MessageAnswer::Yes);
    book->trigger();
    testing::WaitForCalculation(form);
    EXPECT_EQ(bookings(), 1u);
    book->trigger();
    EXPECT_EQ(bookings(), 2u);
    EXPECT_EQ(OffcutStore::Open(InventoryFile(d)).List(std::string("IPE 200")).size(), 0u);
    EXPECT_EQ(stockRows, (std::vector<ListRow>{{"*", "6000"}}));

    // Offcuts another job booked while this one was open are not cut.
    {
        OffcutStore store = OpenInventory(InventoryFile(d), d.shell);
        store.Add({"IPE 200", 2200, 1, {}, ""});
    }
    d.Find<QAction>("UseOffcuts")->trigger();
    ASSERT_EQ(stockRows.size(), 2u);
    {
        OffcutStore store = OpenInventory(InventoryFile(d), d.shell);
        store.Remove(store.List(std::string("IPE 200")).at(0).Id);
    }
    testing::CalculateAndWait(form);
    EXPECT_NE(d.dialogs.messages.back().find("1 inventory offcut of the stock list is no longer"),
              std::string::npos)
        << d.dialogs.messages.back();
    EXPECT_EQ(stockRows, (std::vector<ListRow>{{"*", "6000"}}));
    ASSERT_TRUE(form.Document().HasResults());
    EXPECT_EQ(form.Document().Result().InputStockCount(), 1);

    // The inventory window undoes the last booking: the offcut it cut is back.
    d.Find<QAction>("InventoryWindow")->trigger();
    ASSERT_NE(form.Inventory(), nullptr);
    d.dialogs.choices = {0};
    QTest::mouseClick(form.Inventory()->findChild<QPushButton*>("UndoBookingButton"),
                      Qt::LeftButton);
    ASSERT_EQ(d.dialogs.choicesOffered.size(), 1u);
    EXPECT_EQ(d.dialogs.choicesOffered[0].size(), 2u);  // the latest first
    EXPECT_NE(d.dialogs.messages.back().find("1 piece of inventory offcuts put back"),
              std::string::npos)
        << d.dialogs.messages.back();
    EXPECT_EQ(bookings(), 1u);
    EXPECT_EQ(OffcutStore::Open(InventoryFile(d)).List(std::string("IPE 200")).size(), 1u);
    EXPECT_EQ(form.Inventory()->Model().rowCount(), 1);
    form.Inventory()->close();
}

TEST(InventoryCommands, UndoTakesTheOffcutRowsAwayAndAJobWithoutSectionIsToldWhy) {
    Desktop d;
    MainWindow& form = d.Start();
    {
        OffcutStore store = OpenInventory(InventoryFile(d), d.shell);
        store.Add({"SHS 50", 2500, 3, {}, ""});
    }
    d.Find<QAction>("UseOffcuts")->trigger();
    EXPECT_NE(d.dialogs.messages.back().find("Type the job's Section first"), std::string::npos);
    EXPECT_TRUE(form.Document().Input().StockRows.empty());

    d.Find<QLineEdit>("SectionEdit")->setText(QStringLiteral("SHS 50"));
    d.AddStock(QStringLiteral("*"), QStringLiteral("6000"));
    d.Find<QAction>("UseOffcuts")->trigger();
    ASSERT_EQ(form.Document().Input().StockRows.size(), 2u);
    EXPECT_EQ(InventoryOffcutIds(form.Document().Input().StockRows[1].Mark).size(), 1u);
    d.Find<QAction>("Undo")->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, (std::vector<ListRow>{{"*", "6000"}}));
    d.Find<QAction>("Redo")->trigger();
    EXPECT_EQ(form.Document().Input().StockRows.size(), 2u);
}

TEST(InventoryCommands, ADamagedInventoryIsReportedAndLeftAsItIs) {
    Desktop d;
    d.Start();
    std::filesystem::create_directories(d.DataDir());
    const std::string damaged(5000, 'x');
    WriteBytes(InventoryFile(d), damaged);
    d.Find<QLineEdit>("SectionEdit")->setText(QStringLiteral("SHS 50"));
    for (const char* command : {"UseOffcuts", "InventoryWindow"}) {
        d.Find<QAction>(command)->trigger();
        EXPECT_NE(d.dialogs.messages.back().find("Offcut Inventory.sqlite"), std::string::npos)
            << d.dialogs.messages.back();
    }
    EXPECT_EQ(d.form->Inventory(), nullptr);
    EXPECT_EQ(ReadBytes(InventoryFile(d)), damaged);
}

// The inventory window over a store of a few offcuts, its offcut dialog answered by the test.
struct OpenedInventory {
    Desktop d;
    std::vector<std::optional<NewOffcut>> answers;
    std::vector<QString> asked;
    InventoryWindow* form = nullptr;

    OpenedInventory() {
        d.Start();
        {
            OffcutStore store = OpenInventory(InventoryFile(d), d.shell);
            store.Add({"IPE 200", 1466, 2, {"/jobs/frame.tlf", "J-17", 3}, "Rack 1"});
            store.Add({"IPE 200", 3100, 1, {}, ""});
            store.Add({"SHS 50", 2500, 4, {}, "Bay 2"});
        }
        d.Find<QLineEdit>("SectionEdit")->setText(QStringLiteral("shs 50 "));
        d.Find<QAction>("InventoryWindow")->trigger();
        form = d.form->Inventory();
        if (form == nullptr) return;
        form->SetEditor([this](QWidget*, const QString& title, const NewOffcut& initial) {
            asked.push_back(title);
            if (answers.empty()) return std::optional<NewOffcut>();
            std::optional<NewOffcut> answer = answers.front();
            answers.erase(answers.begin());
            if (answer) answer->Source = initial.Source;
            return answer;
        });
    }
    QString Cell(int row, int column) const {
        return form->Model().index(row, column).data().toString();
    }
    std::vector<int> Lengths() const {
        std::vector<int> lengths;
        for (int r = 0; r < form->Model().rowCount(); ++r)
            lengths.push_back(Cell(r, InventoryModel::LengthColumn).toInt());
        return lengths;
    }
    QString Totals() const {
        QStringList lines;
        QTableWidget* t = form->Totals();
        for (int r = 0; r < t->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t->columnCount(); ++c) cells << t->item(r, c)->text();
            lines << cells.join('|');
        }
        return lines.join('\n');
    }
};

TEST(InventoryWindow, ShowsTheJobsSectionFiltersAndSortsByAnyColumn) {
    OpenedInventory w;
    ASSERT_NE(w.form, nullptr);
    EXPECT_EQ(w.form->windowTitle(), QStringLiteral("Tallora: Offcut Inventory"));
    // The job's section first.
    EXPECT_EQ(w.form->Model().rowCount(), 1);
    EXPECT_EQ(w.Cell(0, InventoryModel::SectionColumn), QStringLiteral("SHS 50"));
    EXPECT_EQ(w.Cell(0, InventoryModel::LocationColumn), QStringLiteral("Bay 2"));

    auto* filter = w.form->findChild<QComboBox*>(QStringLiteral("SectionFilter"));
    ASSERT_NE(filter, nullptr);
    filter->setCurrentIndex(0);  // All sections
    EXPECT_EQ(w.form->Model().rowCount(), 3);
    w.form->Table()->sortByColumn(InventoryModel::LengthColumn, Qt::DescendingOrder);
    EXPECT_EQ(w.Lengths(), (std::vector<int>{3100, 2500, 1466}));
    w.form->Table()->sortByColumn(InventoryModel::CountColumn, Qt::AscendingOrder);
    EXPECT_EQ(w.Lengths(), (std::vector<int>{3100, 1466, 2500}));
    EXPECT_EQ(w.Cell(1, InventoryModel::SourceColumn),
              QStringLiteral("frame.tlf, J-17, pattern 3"));

    EXPECT_EQ(w.Totals(), QStringLiteral("IPE 200|2|3|6.032 m\nSHS 50|1|4|10.000 m"));
}

TEST(InventoryWindow, AddEditAndDeleteAreUndoneAndRedoneInTheStore) {
    OpenedInventory w;
    ASSERT_NE(w.form, nullptr);
    OffcutStore& store = w.form->Store();
    w.answers.push_back(NewOffcut{"SHS 50", 1800, 2, {}, "Bay 3"});
    w.form->addOffcut();
    ASSERT_EQ(w.asked, (std::vector<QString>{QStringLiteral("Add Offcut")}));
    EXPECT_EQ(store.Count(std::string("SHS 50")), 2);
    EXPECT_EQ(w.form->Model().rowCount(), 2);
    const long long added =
        store.List(OffcutQuery{std::string("shs 50"), OffcutOrder::Length})[0].Id;

    // Edit the selected (the added) offcut: 5 pieces.
    w.answers.push_back(NewOffcut{"SHS 50", 1800, 5, {}, "Bay 3"});
    w.form->editOffcut();
    EXPECT_EQ(store.Find(added)->Count, 5);
    EXPECT_EQ(w.form->History().undoText(), QStringLiteral("Edit Offcut %1").arg(added));

    // Delete it and the other one of the section.
    w.form->Table()->selectAll();
    w.form->deleteOffcuts();
    EXPECT_EQ(store.Count(std::string("SHS 50")), 0);
    EXPECT_EQ(w.form->Model().rowCount(), 0);
    EXPECT_EQ(w.Totals(), QStringLiteral("IPE 200|2|3|6.032 m"));

    w.form->History().undo();  // the deletion
    EXPECT_EQ(store.Count(std::string("SHS 50")), 2);
    EXPECT_EQ(store.Find(added)->Count, 5);
    w.form->History().undo();  // the edit
    EXPECT_EQ(store.Find(added)->Count, 2);
    w.form->History().undo();  // the addition
    EXPECT_FALSE(store.Find(added).has_value());
    w.form->History().redo();
    EXPECT_EQ(store.Find(added)->Count, 2);  // back under its own number
    w.form->History().redo();
    EXPECT_EQ(store.Find(added)->Count, 5);

    // Another program took the offcut meanwhile: undoing the edit is refused and dropped.
    OffcutStore::Open(InventoryFile(w.d)).Remove(added);
    const auto before = w.d.dialogs.messages.size();
    w.form->History().undo();
    EXPECT_EQ(w.d.dialogs.messages.size(), before + 1);
    EXPECT_FALSE(store.Find(added).has_value());

    // A cancelled dialog changes nothing.
    const int steps = w.form->History().count();
    w.form->addOffcut();
    EXPECT_EQ(w.form->History().count(), steps);
}

TEST(InventoryWindow, ExportsTheSectionShownAsCsv) {
    OpenedInventory w;
    ASSERT_NE(w.form, nullptr);
    const std::string path = w.d.temp.File("offcuts.csv");
    w.d.dialogs.saveFiles.push_back(path);
    w.form->exportOffcuts();
    const auto rows = testing::ReadCsv(ReadBytes(path));
    ASSERT_EQ(rows.size(), 2u);  // the header and the one SHS 50 offcut
    EXPECT_EQ(rows[1][1], "SHS 50");
    EXPECT_EQ(rows[1][2], "2500");
    EXPECT_EQ(w.d.dialogs.fileDialogs.back().DefaultExtension, "csv");
}

}  // namespace
}  // namespace tallora
