// The main window's commands on the offcut inventory: use its offcuts, book a plan to it, drop
// the offcuts it no longer has, and its window.
#include <QDateTime>
#include <QLocale>
#include <algorithm>

#include "commands/Inventory.h"
#include "gui/MainWindow.h"
#include "gui/entry/EntryPanel.h"
#include "gui/inventory/InventoryWindow.h"

namespace tallora {

namespace {

// The inventory keeps its times in UTC; the user reads them as the locale writes a local time.
std::string WithLocalTime(const InventoryError& error) {
    std::string text = error.what();
    const std::string& when = error.When();
    const QDateTime time = QDateTime::fromString(QString::fromStdString(when), Qt::ISODate);
    const std::size_t at = when.empty() ? std::string::npos : text.find(when);
    if (!time.isValid() || at == std::string::npos) return text;
    return text.replace(at, when.size(),
                        QLocale().toString(time.toLocalTime(), QLocale::ShortFormat).toStdString());
}

}  // namespace

InventoryWindow* MainWindow::Inventory() const { return inventory_.data(); }

void MainWindow::useOffcuts() {
    try {
        const OffcutStore store = OpenInventory(services_.Store, services_.Shell);
        const InventoryCommandResult result = UseOffcutsFromInventory(document_->Input(), store);
        if (result.Changed) {
            stockPanel_->Reload();
            onRowsChanged();
            recordEdit(tr("Use Offcuts from Inventory"));
        }
        services_.Boxes.ShowMessage(MessageKind::Information, MessageButtons::Ok, result.Message);
    } catch (const InventoryError& error) {
        showError(error.what());
    }
}

void MainWindow::bookOffcuts() {
    if (!document_->HasResults()) return;
    // Only the plan shown, and only when it was made from what the lists now say.
    if (!PlanStillMatches(document_->CalculatedFrom(), document_->Input())) {
        const MessageAnswer answer = services_.Boxes.ShowMessage(
            MessageKind::Confirmation, MessageButtons::YesNo,
            tr("The job was changed after the plan shown was calculated, so the plan may cut "
               "bars or offcuts that are no longer in the lists. Nothing was booked.\r\n"
               "Calculate the job again now? Book the new plan once it is shown.")
                .toStdString());
        if (answer == MessageAnswer::Yes) calculate();
        return;
    }
    try {
        OffcutStore store = OpenInventory(services_.Store, services_.Shell);
        InventoryCommandResult result = BookOffcutsToInventory(
            store, document_->Input(), document_->Result(), document_->FileName().toStdString());
        // The offcuts it cut are in the stock list no longer: no new plan cuts them again.
        if (DropOffcutsGoneFromInventory(document_->Input(), store).Changed) {
            stockPanel_->Reload();
            onRowsChanged();
            recordEdit(tr("Book Offcuts to Inventory"));
            result.Message += "\r\nThe offcuts it cut were taken out of the stock list.";
        }
        if (inventory_) inventory_->Refresh();
        services_.Boxes.ShowMessage(MessageKind::Information, MessageButtons::Ok, result.Message);
    } catch (const InventoryError& error) {
        showError(WithLocalTime(error));
    }
}

bool MainWindow::dropOffcutsGone() {
    const auto& rows = document_->Input().StockRows;
    if (std::none_of(rows.begin(), rows.end(),
                     [](const ListRow& row) { return !InventoryOffcutIds(row.Mark).empty(); }))
        return true;
    try {
        const OffcutStore store = OpenInventory(services_.Store, services_.Shell);
        const InventoryCommandResult dropped =
            DropOffcutsGoneFromInventory(document_->Input(), store);
        if (dropped.Changed) {
            stockPanel_->Reload();
            onRowsChanged();
            recordEdit(tr("Offcuts Gone from Inventory"));
            if (!dropped.Message.empty())
                services_.Boxes.ShowMessage(MessageKind::Information, MessageButtons::Ok,
                                            dropped.Message);
        }
        return true;
    } catch (const InventoryError& error) {
        showError(error.what() + std::string("\r\nThe job was not calculated: its stock list has "
                                             "offcuts the inventory must confirm."));
        return false;
    }
}

void MainWindow::showInventory() {
    if (!inventory_) {
        try {
            OffcutStore store = OpenInventory(services_.Store, services_.Shell);
            inventory_ =
                new InventoryWindow(std::move(store), services_.Boxes,
                                    InitialDialogFolder(services_.Store, services_.Shell), this);
        } catch (const InventoryError& error) {
            showError(error.what());
            return;
        }
        inventory_->setAttribute(Qt::WA_DeleteOnClose);
        // The job's own section first, when the inventory has offcuts of it.
        if (!SectionKey(document_->Input().Section.Name).empty())
            inventory_->SelectSection(document_->Input().Section.Name);
    } else {
        inventory_->Refresh();
    }
    inventory_->show();
    inventory_->raise();
    inventory_->activateWindow();
}

}  // namespace tallora
