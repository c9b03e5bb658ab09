#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include "commands/Inventory.h"
#include "gui/DesktopTestSupport.h"
#include "gui/inventory/InventoryWindow.h"

namespace tallora {
namespace {

using testing::Desktop;
using testing::ReadBytes;

std::string InventoryFile(const Desktop& d) { return d.DataDir() + "/" + InventoryFileName; }

void AddOffcut(Desktop& d, const NewOffcut& offcut) {
    OpenInventory(InventoryFile(d), d.shell).Add(offcut);
}

// Which offcuts are booked and taken and what the messages say are the inventory's and the use
// case's rules (BookingTest, BookOffcutsToInventory, UseOffcutsFromInventory); here, that the
// messages are shown, a booking's time in the locale's form, and the offcut rows marked in the
// stock list as one step.
TEST(InventoryCommands, OffcutsBookedFromOneJobAreUsedAndBookedByTheNext) {
    Desktop d;
    MainWindow& form = d.Start();
    QAction* book = d.Find<QAction>("BookOffcuts");
    EXPECT_FALSE(book->isEnabled());  // nothing calculated yet
    d.Find<QLineEdit>("SectionEdit")->setText("IPE 200");
    d.Find<QLineEdit>("OffcutEdit")->setText("1000");
    d.Calculated({{"6", "1500"}});
    book->trigger();
    EXPECT_TRUE(d.SaidPart("2 offcuts returned to stock")) << d.Said();
    book->trigger();  // the second time says when the first was
    const std::string bookedAt = OffcutStore::Open(InventoryFile(d)).Bookings().at(0).BookedAt;
    const QString local = QLocale().toString(
        QDateTime::fromString(QString::fromStdString(bookedAt), Qt::ISODate).toLocalTime(),
        QLocale::ShortFormat);
    EXPECT_TRUE(d.SaidPart(local.toStdString())) << d.Said();

    // The next job takes the offcuts as a marked stock row, as one step.
    d.dialogs.answers.push_back(MessageAnswer::No);  // not saved
    ASSERT_TRUE(form.newJob());
    d.Find<QLineEdit>("SectionEdit")->setText("IPE 200");
    d.AddCut("1", "1000");
    d.Find<QAction>("UseOffcuts")->trigger();
    ASSERT_EQ(form.Document().Input().StockRows.size(), 1u);
    QAbstractItemModel* stock = d.Find<QTreeView>("SListView")->model();
    EXPECT_TRUE(stock->index(0, 1).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_TRUE(stock->index(0, 0).data(Qt::ToolTipRole).toString().startsWith("From the offcut"));
    EXPECT_EQ(form.History().undoText(), "Use Offcuts from Inventory");
}

// Whether a plan still matches its lists and which offcut rows go are the use case's rules
// (PlanStillMatches, DropOffcutsGoneFromInventory); here, what the window does with them: only the
// plan of the lists shown is booked, Book offers a new calculation, the offcuts cut leave the
// stock list, and the inventory window undoes a booking.
TEST(InventoryCommands, NoPlanCutsAnOffcutThatIsGoneAndOnlyThePlanOfTheListsIsBooked) {
    Desktop d;
    MainWindow& form = d.Start();
    AddOffcut(d, {"IPE 200", 2500, 2, {}, ""});
    const auto bookings = [&] { return OffcutStore::Open(InventoryFile(d)).Bookings().size(); };
    const auto& stockRows = form.Document().Input().StockRows;
    QAction* book = d.Find<QAction>("BookOffcuts");
    d.Find<QLineEdit>("SectionEdit")->setText("IPE 200");
    d.AddStock("*", "6000");
    d.AddCut("1", "2000");
    d.Find<QAction>("UseOffcuts")->trigger();
    testing::CalculateAndWait(form);

    // Undo takes the offcut rows away: the plan shown is no longer the lists', and is not booked.
    d.Find<QAction>("Undo")->trigger();
    d.dialogs.answers.push_back(MessageAnswer::No);
    book->trigger();
    EXPECT_EQ(bookings(), 0u);
    d.Find<QAction>("Redo")->trigger();
    book->trigger();
    EXPECT_EQ(bookings(), 1u);
    ASSERT_EQ(stockRows.size(), 2u);
    EXPECT_EQ(stockRows[1].Quantity, "1");  // of two, the one left

    // Two more pieces: Book offers a new calculation, and the new plan is booked.
    d.AddCut("2", "2000");
    d.dialogs.answers.push_back(MessageAnswer::Yes);
    book->trigger();
    testing::WaitForCalculation(form);
    EXPECT_EQ(bookings(), 1u);
    book->trigger();
    EXPECT_EQ(bookings(), 2u);
    EXPECT_EQ(stockRows, (std::vector<ListRow>{{"*", "6000"}}));

    // The inventory window undoes the latest booking, chosen from the two.
    d.Find<QAction>("InventoryWindow")->trigger();
    ASSERT_NE(form.Inventory(), nullptr);
    d.dialogs.choices = {0};
    QTest::mouseClick(form.Inventory()->findChild<QPushButton*>("UndoBookingButton"),
                      Qt::LeftButton);
    EXPECT_EQ(d.dialogs.choicesOffered.at(0).size(), 2u);
    EXPECT_EQ(bookings(), 1u);
    EXPECT_EQ(form.Inventory()->Model().rowCount(), 1);
    form.Inventory()->close();
}

TEST(InventoryCommands, ADamagedInventoryIsReportedAndLeftAsItIs) {
    Desktop d;
    d.Start();
    std::filesystem::create_directories(d.DataDir());
    const std::string damaged(5000, 'x');
    testing::WriteBytes(InventoryFile(d), damaged);
    d.Find<QLineEdit>("SectionEdit")->setText("SHS 50");
    for (const char* command : {"UseOffcuts", "InventoryWindow"}) {
        d.Find<QAction>(command)->trigger();
        EXPECT_TRUE(d.SaidPart("Offcut Inventory.sqlite")) << d.Said();
    }
    EXPECT_EQ(d.form->Inventory(), nullptr);
    EXPECT_EQ(ReadBytes(InventoryFile(d)), damaged);
}

// The order and the pages of the list are the store's (OffcutStore.PagesComeInTheOrderAsked...);
// the export is recorded (CliOutputRegression: inventory-export-*); here, the job's section first,
// adding, editing and deleting offcuts as steps of the window's history, and the filter.
TEST(InventoryWindow, ShowsTheJobsSectionAndItsEditsAreUndoneAndRedoneInTheStore) {
    Desktop d;
    d.Start();
    AddOffcut(d, {"IPE 200", 1466, 2, {"/jobs/frame.tlf", "J-17", 3}, "Rack 1"});
    AddOffcut(d, {"IPE 200", 3100, 1, {}, ""});
    AddOffcut(d, {"SHS 50", 2500, 4, {}, "Bay 2"});
    d.Find<QLineEdit>("SectionEdit")->setText("shs 50 ");
    d.Find<QAction>("InventoryWindow")->trigger();
    InventoryWindow* form = d.form->Inventory();
    ASSERT_NE(form, nullptr);
    std::vector<NewOffcut> answers;  // the offcut dialog's, in turn; then Cancel
    form->SetEditor([&](QWidget*, const QString&, const NewOffcut&) {
        if (answers.empty()) return std::optional<NewOffcut>();
        const NewOffcut answer = answers.front();
        answers.erase(answers.begin());
        return std::optional<NewOffcut>(answer);
    });
    EXPECT_EQ(form->Model().rowCount(), 1);

    OffcutStore& store = form->Store();
    answers = {NewOffcut{"SHS 50", 1800, 2, {}, "Bay 3"},
               NewOffcut{"SHS 50", 1800, 5, {}, "Bay 3"}};
    form->addOffcut();
    const long long added =
        store.List(OffcutQuery{std::string("shs 50"), OffcutOrder::Length})[0].Id;
    form->editOffcut();  // the selected, the added one
    EXPECT_EQ(store.Find(added)->Count, 5);
    form->Table()->selectAll();
    form->deleteOffcuts();
    EXPECT_EQ(store.Count(std::string("SHS 50")), 0);
    form->History().undo();  // the deletion
    EXPECT_EQ(store.Count(std::string("SHS 50")), 2);
    form->History().undo();  // the edit
    EXPECT_EQ(store.Find(added)->Count, 2);
    form->History().undo();  // the addition
    EXPECT_FALSE(store.Find(added).has_value());
    form->History().redo();
    EXPECT_EQ(store.Find(added)->Count, 2);  // back under its own number

    // Another program took the offcut meanwhile: a step that needs it is refused and said.
    OffcutStore::Open(InventoryFile(d)).Remove(added);
    const auto before = d.dialogs.messages.size();
    form->History().redo();
    EXPECT_EQ(d.dialogs.messages.size(), before + 1);
    const int steps = form->History().count();
    form->addOffcut();  // a cancelled dialog changes nothing
    EXPECT_EQ(form->History().count(), steps);

    form->findChild<QComboBox*>("SectionFilter")->setCurrentIndex(0);  // All sections
    EXPECT_EQ(form->Model().rowCount(), 3);
}

}  // namespace
}  // namespace tallora
