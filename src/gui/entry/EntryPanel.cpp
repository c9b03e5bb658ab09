#include "gui/entry/EntryPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "entry/ListEntry.h"
#include "entry/PastedRows.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

// The two columns always fit the list's width: nothing scrolls sideways, not even to show the
// whole of a clicked cell, so the quantities stay in view.
class EntryListView : public QTreeView {
public:
    using QTreeView::QTreeView;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QTreeView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(0);
    }
};

// A button keeps its design width, or is as wide as its text and the style's margins need; its
// size hint's own minimum would make it wider than the design.
void FitButton(QPushButton* button, int designWidth) {
    const QStyle* style = button->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    button->setFixedWidth(std::max(
        Px(designWidth), button->fontMetrics().horizontalAdvance(button->text()) + margins));
}

}  // namespace

EntryPanel::EntryPanel(Kind kind, std::vector<ListRow>& rows, const JobUnits& units,
                       Dialogs& dialogs, int& sortColumn, QWidget* parent)
    : QGroupBox(
          kind == Kind::Stock ? tr(" Stock Lengths Available ") : tr(" Cut Lengths Required "),
          parent),
      kind_(kind),
      rows_(rows),
      dialogs_(dialogs),
      sortColumn_(sortColumn),
      units_(units) {
    const bool stock = kind == Kind::Stock;
    const QString p = stock ? QStringLiteral("S") : QStringLiteral("C");
    setObjectName(stock ? QStringLiteral("StockPanel") : QStringLiteral("CutPanel"));
    // A column from 16 pixels in; the list (153 wide) takes what the panel's height leaves, the
    // buttons centred under it. The stock note reaches 10 pixels further right than the list.
    auto* column = new QVBoxLayout(this);
    SetMarginsFromCorner(this, column, 16, 16, 6, 16);
    column->setSpacing(0);

    auto* qLabel = new QLabel(tr("Quantity"), this);
    qLabel->setObjectName(p + QStringLiteral("QLabel"));
    qLabel->setMinimumWidth(Px(60));
    auto* lLabel = new QLabel(tr("Length"), this);
    lLabel->setObjectName(p + QStringLiteral("LLabel"));
    lLabel->setMinimumWidth(Px(50));
    auto* captions = new QHBoxLayout;
    captions->setSpacing(0);
    captions->addSpacing(Px(15));
    captions->addWidget(qLabel);
    captions->addSpacing(Px(25));
    captions->addWidget(lLabel);
    captions->addStretch(1);
    for (QLabel* label : {qLabel, lLabel}) label->setFixedHeight(Px(14));
    column->addLayout(captions);
    column->addSpacing(Px(2));

    quantity_ = new FilteredEdit(stock ? StockQuantityKey : CutQuantityKey, this);
    quantity_->setObjectName(p + QStringLiteral("QEdit"));
    length_ = new FilteredEdit(
        [this](char32_t key) {
            return units_.Imperial() ? ImperialLengthKey(key) : LengthKey(key);
        },
        this);
    length_->setObjectName(p + QStringLiteral("LEdit"));
    auto* edits = new QHBoxLayout;
    edits->setSpacing(Px(7));
    for (FilteredEdit* edit : {quantity_, length_}) {
        edit->setFixedSize(Px(73), Px(21));
        edits->addWidget(edit);
    }
    edits->addStretch(1);
    column->addLayout(edits);
    if (stock) {
        quantity_->setStatusTip(
            tr("Type the quantity of stock bars you have of this size here, then press "
               "<ENTER> and type the length of the bar in the Length input box"));
        auto* note = new QLabel(tr("(Enter * for unlimited quantity)"), this);
        note->setObjectName(QStringLiteral("Label1"));
        note->setContentsMargins(Px(3), 0, 0, 0);
        note->setFixedHeight(Px(14));
        column->addSpacing(Px(3));
        column->addWidget(note);
        column->addSpacing(Px(2));
    } else {
        column->addSpacing(Px(19));
    }

    model_ = new EntryListModel(stock ? EntryListModel::Kind::Stock : EntryListModel::Kind::Cut,
                                rows_, units_, this);
    list_ = new EntryListView(this);
    list_->setObjectName(p + QStringLiteral("ListView"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Only a cut row's mark is edited in its cell: F2, or a click on the selected cell.
    list_->setEditTriggers(stock ? QAbstractItemView::NoEditTriggers
                                 : QAbstractItemView::EditKeyPressed |
                                       QAbstractItemView::SelectedClicked);
    list_->setUniformRowHeights(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->header()->setSectionsClickable(true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::Stretch);
    // Beside a mark a third of the width is too little for a length in feet and inches: the
    // quantity takes only what it needs.
    if (!stock) list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setMinimumSectionSize(Px(20));
    list_->setStatusTip(
        stock ? tr("Displays all the stock lengths you have entered. To alter or remove "
                   "an item, click on it to select it, them click Modify or Delete")
              : tr("Displays all the cut lengths you have entered. To alter or remove "
                   "an item, click on it to select it, them click Modify or Delete"));
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(list_);
    listRow->addSpacing(Px(10));
    column->addLayout(listRow, 1);

    modify_ = new QPushButton(tr("Modify"), this);
    modify_->setObjectName(p + QStringLiteral("Modify"));
    modify_->setEnabled(false);
    delete_ = new QPushButton(tr("Delete"), this);
    delete_->setObjectName(p + QStringLiteral("Delete"));
    delete_->setEnabled(false);
    for (QPushButton* button : {modify_, delete_}) {
        FitButton(button, 75);
        button->setFixedHeight(Px(25));
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->addStretch(1);
        row->addWidget(button);
        row->addStretch(1);
        row->addSpacing(Px(10));
        column->addSpacing(Px(button == modify_ ? 15 : 7));
        column->addLayout(row);
    }

    setTabOrder(quantity_, length_);
    connect(length_, &FilteredEdit::commitRequested, this, &EntryPanel::commitRow);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EntryPanel::showSelectedRow);
    connect(list_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == EntryListModel::MarkColumn)
            list_->edit(index);
        else
            modifyRow();
    });
    connect(model_, &EntryListModel::markEdited, this, [this] {
        emit rowsChanged();
        emit edited(tr("Mark"));
    });
    connect(modify_, &QPushButton::clicked, this, &EntryPanel::modifyRow);
    connect(delete_, &QPushButton::clicked, this, &EntryPanel::deleteRows);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &EntryPanel::sortByColumn);
    list_->installEventFilter(this);
    quantity_->installEventFilter(this);
}

bool EntryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste)) {
        const QString text = QGuiApplication::clipboard()->text();
        // A single value goes into the quantity box as any paste does.
        if (watched == quantity_ && !IsRowsText(text.toStdString())) return false;
        PasteRows(text);
        return true;
    }
    if (watched != list_) return false;
    if (key->matches(QKeySequence::Copy)) {
        CopyRows();
        return true;
    }
    if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
        key->modifiers() == Qt::NoModifier) {
        deleteRows();
        return true;
    }
    return false;
}

QString EntryPanel::Rows(int count) const {
    const QString one = kind_ == Kind::Stock ? tr("Stock Length") : tr("Cut Length");
    if (count == 1) return one;
    const QString many = one + QLatin1Char('s');
    return count > 1 ? QString::number(count) + QLatin1Char(' ') + many : many;
}

std::vector<int> EntryPanel::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        if (index.row() >= 0 && index.row() < static_cast<int>(rows_.size())) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EntryPanel::Reload() {
    modifiedMark_.clear();
    model_->Reload();
    quantity_->clear();
    length_->clear();
    showSelectedRow();
}

void EntryPanel::commitRow() {
    const std::string quantity = quantity_->text().toStdString();
    const std::string length = length_->text().toStdString();
    // An inventory offcut is of its length: a stock row typed to another is an ordinary row.
    std::string mark = modifiedMark_;
    if (length != modifiedLength_ && !InventoryOffcutIds(mark).empty()) mark.clear();
    const CommitResult result = model_->CommitRow(quantity, length, mark);
    if (result.Status == CommitStatus::Ignored) return;
    if (result.Status == CommitStatus::Refused) {
        dialogs_.ShowMessage(MessageKind::Error, MessageButtons::Ok, result.Message);
        return;
    }
    modifiedMark_.clear();
    // An added or merged row is the last one.
    if (model_->rowCount() > 0) list_->scrollTo(model_->index(model_->rowCount() - 1, 0));
    showSelectedRow();
    quantity_->clear();
    length_->clear();
    quantity_->setFocus();
    emit rowsChanged();
    emit edited((result.MergedRow >= 0 ? tr("Merge ") : tr("Add ")) + Rows(1));
}

void EntryPanel::showSelectedRow() {
    const bool selected = list_->selectionModel()->hasSelection();
    modify_->setEnabled(selected);
    delete_->setEnabled(selected);
}

void EntryPanel::modifyRow() {
    // One row goes into the edits: the first of those selected.
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) return;
    const int row = selected.front();
    const ListRow taken = model_->RemoveRow(row);
    // No other row takes the selection of the one taken out.
    list_->selectionModel()->clearSelection();
    modifiedMark_ = taken.Mark;
    modifiedLength_ = ShownLength(taken.Length, units_);
    quantity_->setText(QString::fromStdString(taken.Quantity));
    length_->setText(QString::fromStdString(modifiedLength_));
    showSelectedRow();
    emit rowsChanged();
    emit edited(tr("Modify ") + Rows(1));
    quantity_->setFocus();
}

void EntryPanel::deleteRows() {
    const std::vector<int> selected = SelectedRows();
    if (selected.empty()) return;
    // From the bottom up, so that the rows still to go keep their places.
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) model_->RemoveRow(*row);
    list_->selectionModel()->clearSelection();
    showSelectedRow();
    emit rowsChanged();
    emit edited(tr("Delete ") + Rows(static_cast<int>(selected.size())));
    quantity_->setFocus();
}

void EntryPanel::sortByColumn(int column) {
    // The lists sort by quantity or length; the shared sort setting knows no other column.
    if (column == EntryListModel::MarkColumn) return;
    sortColumn_ = column;
    model_->SortRows(column);
    emit edited(tr("Sort ") + Rows(0));
}

void EntryPanel::PasteRows(const QString& text) {
    // Cut rows take a mark as a third field, as an import does; the paste's message is as ever.
    TakeRows(ParsePastedRows(text.toStdString(), kind_ == Kind::Cut, false, units_), tr("Paste "),
             "pasted");
}

void EntryPanel::ImportRows(const QString& text) {
    TakeRows(RowsFromText(text.toStdString(), units_), tr("Import "), "imported");
}

void EntryPanel::TakeRows(const PastedRows& pasted, const QString& step, const std::string& how) {
    std::vector<PasteFailure> failures = pasted.NotRows;
    int committed = 0;
    for (const PastedRow& row : pasted.Rows) {
        const CommitResult result = model_->CommitRow(row.Quantity, row.Length, row.Mark);
        if (result.Status == CommitStatus::Refused)
            failures.push_back({row.Line, ReasonOf(result.Message)});
        else if (result.Status == CommitStatus::Committed)
            ++committed;
    }
    if (committed > 0) {
        list_->scrollTo(model_->index(model_->rowCount() - 1, 0));
        showSelectedRow();
        emit rowsChanged();
        emit edited(step + Rows(committed));
    }
    if (!failures.empty()) {
        const int lines = static_cast<int>(pasted.Rows.size() + pasted.NotRows.size());
        dialogs_.ShowMessage(MessageKind::Warning, MessageButtons::Ok,
                             PasteFailuresMessage(std::move(failures), lines, 20, how));
    }
}

void EntryPanel::CopyRows() {
    std::vector<ListRow> rows;
    for (int row : SelectedRows()) {
        ListRow copied = rows_[static_cast<size_t>(row)];
        copied.Length = ShownLength(copied.Length, units_);
        rows.push_back(std::move(copied));
    }
    if (rows.empty()) return;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(RowsText(rows, kind_ == Kind::Cut)));
}

}  // namespace tallora
