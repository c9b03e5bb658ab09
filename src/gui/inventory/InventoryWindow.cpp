#include "gui/inventory/InventoryWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "commands/Inventory.h"
#include "gui/CoreTexts.h"
#include "job/Capacities.h"
#include "storage/SafeFile.h"

namespace tallora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Most pieces one offcut record may hold: more than any rack.
constexpr int MaxOffcutCount = 999999;

}  // namespace

// A change to the store the window's history can take back. The store may refuse it (another
// program changed the offcut meanwhile): the user is told and the step is dropped.
class InventoryWindow::Change : public QUndoCommand {
public:
    Change(InventoryWindow& form, const QString& text) : form_(form) { setText(text); }
    void redo() override { Run(true); }
    void undo() override { Run(false); }

protected:
    virtual void Apply(bool forward) = 0;
    OffcutStore& Store() { return form_.store_; }
    InventoryWindow& form_;

private:
    void Run(bool forward) {
        try {
            Apply(forward);
        } catch (const InventoryError& error) {
            setObsolete(true);
            form_.ShowFailure(CoreText(error.what()));
        }
        form_.Refresh();
    }
};

namespace {

class AddChange : public InventoryWindow::Change {
public:
    AddChange(InventoryWindow& form, NewOffcut offcut)
        : Change(form, InventoryWindow::tr("Add Offcut")), offcut_(std::move(offcut)) {}
    long long Id() const { return kept_.Id; }

protected:
    void Apply(bool forward) override {
        if (!forward) {
            Store().Remove(kept_.Id);
        } else if (kept_.Id == 0) {
            const long long id = Store().Add(offcut_);
            kept_ = *Store().Find(id);
        } else {
            Store().Restore(kept_);  // the same number as before the undo
        }
    }

private:
    NewOffcut offcut_;
    Offcut kept_;
};

OffcutChanges ChangesTo(const std::string& section, int length, int count,
                        const std::string& location) {
    return {section, length, count, location};
}

class EditChange : public InventoryWindow::Change {
public:
    EditChange(InventoryWindow& form, Offcut before, NewOffcut after)
        : Change(form, InventoryWindow::tr("Edit Offcut %1").arg(before.Id)),
          before_(std::move(before)),
          after_(std::move(after)) {}

protected:
    void Apply(bool forward) override {
        if (forward) {
            Store().Update(before_.Id,
                           ChangesTo(after_.Section, after_.Length, after_.Count, after_.Location));
        } else {
            Store().Update(before_.Id, ChangesTo(before_.Section, before_.Length, before_.Count,
                                                 before_.Location));
        }
    }

private:
    Offcut before_;
    NewOffcut after_;
};

class DeleteChange : public InventoryWindow::Change {
public:
    DeleteChange(InventoryWindow& form, std::vector<Offcut> offcuts)
        : Change(form, offcuts.size() == 1
                           ? InventoryWindow::tr("Delete Offcut %1").arg(offcuts.front().Id)
                           : InventoryWindow::tr("Delete %1 Offcuts").arg(offcuts.size())),
          offcuts_(std::move(offcuts)) {}

protected:
    void Apply(bool forward) override {
        // All are checked first, so that a refused step leaves the store as it was.
        for (const Offcut& o : offcuts_) {
            if (Store().Find(o.Id).has_value() != forward) {
                throw InventoryError(InventoryErrorKind::NotFound,
                                     "Offcut " + std::to_string(o.Id) +
                                         (forward ? " is no longer in the offcut inventory."
                                                  : " is in the offcut inventory again."));
            }
        }
        for (const Offcut& o : offcuts_) {
            if (forward)
                Store().Remove(o.Id);
            else
                Store().Restore(o);
        }
    }

private:
    std::vector<Offcut> offcuts_;
};

}  // namespace

InventoryWindow::InventoryWindow(OffcutStore store, Dialogs& dialogs, std::string exportFolder,
                                 QWidget* parent)
    : QDialog(parent),
      store_(std::move(store)),
      dialogs_(dialogs),
      exportFolder_(std::move(exportFolder)),
      editor_(&InventoryWindow::AskOffcut) {
    setObjectName(QStringLiteral("InventoryWindow"));
    setWindowTitle(tr("Tallora: Offcut Inventory"));
    setSizeGripEnabled(true);
    history_ = new QUndoStack(this);
    model_ = new InventoryModel(store_, this);
    connect(model_, &InventoryModel::failed, this, &InventoryWindow::ShowFailure);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(CreateCommands());
    layout->addWidget(CreateTable(), 1);
    CreateTotals(layout);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(close);

    connect(section_, &QComboBox::currentIndexChanged, this, &InventoryWindow::SectionChanged);
    resize(860, 560);
    FillSections();
    UpdateButtons();
}

QHBoxLayout* InventoryWindow::CreateCommands() {
    auto* top = new QHBoxLayout;
    auto* sectionLabel = new QLabel(tr("&Section:"), this);
    section_ = new QComboBox(this);
    section_->setObjectName(QStringLiteral("SectionFilter"));
    section_->setMinimumContentsLength(16);
    sectionLabel->setBuddy(section_);
    top->addWidget(sectionLabel);
    top->addWidget(section_);
    top->addStretch();
    auto button = [this, top](const QString& text, const char* name, auto handler) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        top->addWidget(b);
        return b;
    };
    button(tr("&Add..."), "AddButton", &InventoryWindow::addOffcut);
    edit_ = button(tr("&Edit..."), "EditButton", &InventoryWindow::editOffcut);
    delete_ = button(tr("&Delete"), "DeleteButton", &InventoryWindow::deleteOffcuts);
    auto* undo = button(tr("&Undo"), "UndoButton", [this] { history_->undo(); });
    auto* redo = button(tr("&Redo"), "RedoButton", [this] { history_->redo(); });
    button(tr("Undo &Booking..."), "UndoBookingButton", &InventoryWindow::undoBooking);
    button(tr("E&xport CSV..."), "ExportButton", &InventoryWindow::exportOffcuts);
    connect(history_, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    connect(history_, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    connect(history_, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setToolTip(text.isEmpty() ? QString() : tr("Undo ") + text);
    });
    connect(history_, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setToolTip(text.isEmpty() ? QString() : tr("Redo ") + text);
    });
    undo->setEnabled(false);
    redo->setEnabled(false);
    // The keys of every editor, for the window's own history.
    QAction* undoKey = history_->createUndoAction(this);
    undoKey->setShortcut(QKeySequence::Undo);
    QAction* redoKey = history_->createRedoAction(this);
    redoKey->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    auto* deleteKey = new QAction(this);
    deleteKey->setShortcut(QKeySequence::Delete);
    connect(deleteKey, &QAction::triggered, this, &InventoryWindow::deleteOffcuts);
    addActions({undoKey, redoKey, deleteKey});

    return top;
}

QTableView* InventoryWindow::CreateTable() {
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("OffcutTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->sortByColumn(InventoryModel::SectionColumn, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    // A line of text a row: a large inventory fits more of itself in the window.
    const int rowHeight = fontMetrics().height() + 6;
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(InventoryModel::IdColumn, 60);
    table_->setColumnWidth(InventoryModel::SectionColumn, 120);
    table_->setColumnWidth(InventoryModel::LengthColumn, 90);
    table_->setColumnWidth(InventoryModel::CountColumn, 60);
    table_->setColumnWidth(InventoryModel::SourceColumn, 190);
    table_->setColumnWidth(InventoryModel::BookedColumn, 120);
    connect(table_, &QTableView::doubleClicked, this, &InventoryWindow::editOffcut);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &InventoryWindow::UpdateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &InventoryWindow::UpdateButtons);

    return table_;
}

void InventoryWindow::CreateTotals(QVBoxLayout* layout) {
    const int rowHeight = fontMetrics().height() + 6;
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("CountLabel"));
    layout->addWidget(count_);
    auto* totalsLabel = new QLabel(tr("Totals per section:"), this);
    layout->addWidget(totalsLabel);
    totals_ = new QTableWidget(0, 4, this);
    totals_->setObjectName(QStringLiteral("TotalsTable"));
    totals_->setHorizontalHeaderLabels({tr("Section"), tr("Offcuts"), tr("Pieces"), tr("Metres")});
    totals_->verticalHeader()->hide();
    totals_->verticalHeader()->setDefaultSectionSize(rowHeight);
    totals_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    totals_->setSelectionMode(QAbstractItemView::NoSelection);
    totals_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 4; ++c) totals_->setColumnWidth(c, 110);
    totals_->setMaximumHeight(130);
    layout->addWidget(totals_);
}

InventoryWindow::~InventoryWindow() = default;

std::optional<NewOffcut> InventoryWindow::AskOffcut(QWidget* parent, const QString& title,
                                                    const NewOffcut& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    auto* section = new QLineEdit(Q(initial.Section), &dialog);
    auto* length = new QSpinBox(&dialog);
    length->setRange(1, MaxLength);
    length->setSuffix(tr(" mm"));
    length->setValue(initial.Length > 0 ? initial.Length : 1);
    auto* count = new QSpinBox(&dialog);
    count->setRange(1, MaxOffcutCount);
    count->setValue(initial.Count > 0 ? initial.Count : 1);
    auto* location = new QLineEdit(Q(initial.Location), &dialog);
    location->setPlaceholderText(tr("Rack or bay, if you like"));
    form->addRow(tr("&Section:"), section);
    form->addRow(tr("&Length:"), length);
    form->addRow(tr("&Count:"), count);
    form->addRow(tr("L&ocation:"), location);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // No offcut without a section: the jobs find their offcuts by it.
    auto check = [section, buttons] {
        buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(!SectionKey(section->text().toStdString()).empty());
    };
    QObject::connect(section, &QLineEdit::textChanged, &dialog, check);
    check();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    NewOffcut offcut = initial;
    offcut.Section = section->text().trimmed().toStdString();
    offcut.Length = length->value();
    offcut.Count = count->value();
    offcut.Location = location->text().trimmed().toStdString();
    return offcut;
}

void InventoryWindow::SelectSection(const std::optional<std::string>& section) {
    int index = 0;
    if (section) {
        const int found = section_->findData(Q(SectionKey(*section)));
        if (found >= 0) index = found;
    }
    section_->setCurrentIndex(index);
    SectionChanged();
}

void InventoryWindow::SectionChanged() {
    if (filling_) return;
    const QString key = section_->currentData().toString();
    model_->SetSection(key.isEmpty() ? std::nullopt
                                     : std::optional<std::string>(key.toStdString()));
    UpdateButtons();
}

void InventoryWindow::Refresh() {
    model_->Refresh();
    FillSections();
    UpdateButtons();
}

void InventoryWindow::FillSections() {
    std::vector<SectionTotal> totals;
    try {
        totals = store_.TotalsBySection();
    } catch (const InventoryError& error) {
        ShowFailure(CoreText(error.what()));
        return;
    }
    const QString current = section_->currentData().toString();
    filling_ = true;
    section_->clear();
    section_->addItem(tr("All sections"), QString());
    for (const auto& total : totals)
        section_->addItem(Q(total.Section), Q(SectionKey(total.Section)));
    // A section whose last offcut went stays chosen: its list is empty, not another's.
    int index = current.isEmpty() ? 0 : section_->findData(current);
    if (index < 0) {
        section_->addItem(Q(model_->Section().value_or(current.toStdString())), current);
        index = section_->count() - 1;
    }
    section_->setCurrentIndex(index);
    filling_ = false;
    FillTotals(totals);
}

void InventoryWindow::FillTotals(const std::vector<SectionTotal>& totals) {
    totals_->setRowCount(static_cast<int>(totals.size()));
    for (int r = 0; r < static_cast<int>(totals.size()); ++r) {
        const SectionTotal& t = totals[static_cast<std::size_t>(r)];
        const QString texts[] = {Q(t.Section), QString::number(t.Rows), QString::number(t.Pieces),
                                 Q(InventoryMetres(t.TotalLength))};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            totals_->setItem(r, c, item);
        }
    }
}

void InventoryWindow::UpdateButtons() {
    const bool selected = table_->selectionModel()->hasSelection();
    edit_->setEnabled(selected);
    delete_->setEnabled(selected);
    const long long total = model_->Total();
    count_->setText(total == 1 ? tr("1 offcut") : tr("%1 offcuts").arg(total));
}

std::vector<Offcut> InventoryWindow::SelectedOffcuts() const {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<Offcut> offcuts;
    for (int row : rows) offcuts.push_back(model_->At(row));
    return offcuts;
}

void InventoryWindow::Select(long long id) {
    const int row = model_->RowOf(id);
    if (row < 0) return;
    table_->selectRow(row);
    table_->scrollTo(model_->index(row, 0));
}

void InventoryWindow::RunChange(Change* change) { history_->push(change); }

void InventoryWindow::ShowFailure(const QString& message) {
    dialogs_.ShowMessage(MessageKind::Error, MessageButtons::Ok, message.toStdString());
}

void InventoryWindow::addOffcut() {
    NewOffcut initial;
    initial.Section = model_->Section() ? section_->currentText().toStdString() : std::string();
    initial.Length = 3000;
    initial.Count = 1;
    const auto offcut = editor_(this, tr("Add Offcut"), initial);
    if (!offcut) return;
    auto* change = new AddChange(*this, *offcut);
    RunChange(change);
    if (history_->command(history_->index() - 1) == change) Select(change->Id());
}

void InventoryWindow::editOffcut() {
    const std::vector<Offcut> selected = SelectedOffcuts();
    if (selected.empty()) return;
    const Offcut& before = selected.front();
    NewOffcut initial{before.Section, before.Length, before.Count, before.Source, before.Location};
    const auto after = editor_(this, tr("Edit Offcut %1").arg(before.Id), initial);
    if (!after) return;
    if (after->Section == before.Section && after->Length == before.Length &&
        after->Count == before.Count && after->Location == before.Location)
        return;
    RunChange(new EditChange(*this, before, *after));
    Select(before.Id);
}

void InventoryWindow::deleteOffcuts() {
    const std::vector<Offcut> selected = SelectedOffcuts();
    if (selected.empty()) return;
    RunChange(new DeleteChange(*this, selected));
}

void InventoryWindow::exportOffcuts() {
    FileDialogOptions options;
    options.Title = "Export Offcut Inventory";
    options.Filter = "CSV file (*.csv)|*.csv|Any file (*.*)|*.*";
    options.DefaultExtension = "csv";
    options.ConfirmOverwrite = true;
    options.InitialFolder = exportFolder_;
    const auto chosen = dialogs_.AskSaveFileName(options);
    if (!chosen) return;
    std::string text;
    try {
        text = store_.ExportCsv(model_->Section());
    } catch (const InventoryError& error) {
        ShowFailure(CoreText(error.what()));
        return;
    }
    const std::string error = WriteFileSafely(*chosen, text);
    if (!error.empty()) {
        dialogs_.ShowMessage(
            MessageKind::Error, MessageButtons::Ok,
            "The offcut inventory could not be written to\r\n" + *chosen + "\r\n" + error);
    }
}

void InventoryWindow::undoBooking() {
    // The latest first: a booking can be undone only while no later one cut what it added.
    constexpr std::size_t Offered = 50;
    std::vector<BookingRecord> bookings;
    try {
        bookings = store_.Bookings();
    } catch (const InventoryError& error) {
        ShowFailure(CoreText(error.what()));
        return;
    }
    std::reverse(bookings.begin(), bookings.end());
    if (bookings.size() > Offered) bookings.resize(Offered);
    if (bookings.empty()) {
        dialogs_.ShowMessage(MessageKind::Information, MessageButtons::Ok,
                             tr("The offcut inventory has no bookings.").toStdString());
        return;
    }
    std::vector<std::string> choices;
    for (const BookingRecord& b : bookings) {
        QString text = tr("Booking %1, %2").arg(b.Id).arg(InventoryModel::BookedText(b.BookedAt));
        if (!b.JobReference.empty()) text += tr(", reference %1").arg(Q(b.JobReference));
        if (!b.JobFile.empty()) text += QStringLiteral(", ") + QFileInfo(Q(b.JobFile)).fileName();
        choices.push_back(text.toStdString());
    }
    const auto chosen = dialogs_.AskChoice(
        tr("Undo Booking").toStdString(),
        tr("Which booking should be undone? The offcuts it cut come back, the offcuts it "
           "returned go, and its job can be booked again.")
            .toStdString(),
        choices);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(bookings.size())) return;
    try {
        const BookingUndone undone = store_.UndoBooking(bookings[*chosen].Id);
        // The window's own steps were made before the booking went: they are not redone over it.
        history_->clear();
        Refresh();
        const auto pieces = [](long long n) {
            return n == 1 ? tr("1 piece") : tr("%1 pieces").arg(n);
        };
        dialogs_.ShowMessage(MessageKind::Information, MessageButtons::Ok,
                             tr("Booking %1 was undone: %2 of inventory offcuts put back, %3 of "
                                "returned offcuts taken away.")
                                 .arg(bookings[*chosen].Id)
                                 .arg(pieces(undone.PiecesPutBack), pieces(undone.PiecesRemoved))
                                 .toStdString());
    } catch (const InventoryError& error) {
        ShowFailure(CoreText(error.what()));
    }
}

}  // namespace tallora
