#include "entry/qt/EntryPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>

#include "entry/ListEntry.h"
#include "widgets/DesignGeometry.h"

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

}  // namespace

EntryPanel::EntryPanel(Kind kind, std::vector<ListRow>& rows, Dialogs& dialogs, int& sortColumn,
                       QWidget* parent)
    : QGroupBox(kind == Kind::Stock ? QStringLiteral(" Stock Lengths Available ")
                                    : QStringLiteral(" Cut Lengths Required "),
                parent),
      kind_(kind),
      rows_(rows),
      dialogs_(dialogs),
      sortColumn_(sortColumn) {
    const bool stock = kind == Kind::Stock;
    const QString p = stock ? QStringLiteral("S") : QStringLiteral("C");
    setObjectName(stock ? QStringLiteral("StockPanel") : QStringLiteral("CutPanel"));

    auto* qLabel = new QLabel(QStringLiteral("Quantity"), this);
    qLabel->setObjectName(p + QStringLiteral("QLabel"));
    Place(qLabel, 31, 16, 60, 14);
    auto* lLabel = new QLabel(QStringLiteral("Length"), this);
    lLabel->setObjectName(p + QStringLiteral("LLabel"));
    Place(lLabel, 116, 16, 50, 14);

    quantity_ = new FilteredEdit(stock ? StockQuantityKey : CutQuantityKey, this);
    quantity_->setObjectName(p + QStringLiteral("QEdit"));
    Place(quantity_, 16, 32, 73, 21);
    length_ = new FilteredEdit(LengthKey, this);
    length_->setObjectName(p + QStringLiteral("LEdit"));
    Place(length_, 96, 32, 73, 21);
    if (stock) {
        quantity_->setStatusTip(
            QStringLiteral("Type the quantity of stock bars you have of this size here, then press "
                           "<ENTER> and type the length of the bar in the Length input box"));
        auto* note = new QLabel(QStringLiteral("(Enter * for unlimited quantity)"), this);
        note->setObjectName(QStringLiteral("Label1"));
        Place(note, 19, 56, 160, 14);
    }

    model_ = new EntryListModel(stock ? EntryListModel::Kind::Stock : EntryListModel::Kind::Cut,
                                rows_, this);
    list_ = new EntryListView(this);
    list_->setObjectName(p + QStringLiteral("ListView"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformRowHeights(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->header()->setSectionsClickable(true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::Stretch);
    list_->header()->setMinimumSectionSize(Px(20));
    list_->setStatusTip(
        stock
            ? QStringLiteral("Displays all the stock lengths you have entered. To alter or remove "
                             "an item, click on it to select it, them click Modify or Delete")
            : QStringLiteral("Displays all the cut lengths you have entered. To alter or remove "
                             "an item, click on it to select it, them click Modify or Delete"));
    Place(list_, 16, 72, 153, 233);

    modify_ = new QPushButton(QStringLiteral("Modify"), this);
    modify_->setObjectName(p + QStringLiteral("Modify"));
    Place(modify_, 55, 320, 75, 25);
    modify_->setEnabled(false);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    delete_->setObjectName(p + QStringLiteral("Delete"));
    Place(delete_, 55, 352, 75, 25);
    delete_->setEnabled(false);

    setTabOrder(quantity_, length_);
    connect(length_, &FilteredEdit::commitRequested, this, &EntryPanel::SEnter);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EntryPanel::SListViewSelectItem);
    connect(list_, &QTreeView::doubleClicked, this, &EntryPanel::SModifyClick);
    connect(modify_, &QPushButton::clicked, this, &EntryPanel::SModifyClick);
    connect(delete_, &QPushButton::clicked, this, &EntryPanel::SDeleteClick);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &EntryPanel::ListViewColumnClick);
}

void EntryPanel::Reload() {
    model_->Reload();
    quantity_->clear();
    length_->clear();
    SListViewSelectItem();
}

void EntryPanel::SEnter() {
    const std::string quantity = quantity_->text().toStdString();
    const std::string length = length_->text().toStdString();
    const CommitResult result = model_->CommitRow(quantity, length);
    if (result.Status == CommitStatus::Ignored) return;
    if (result.Status == CommitStatus::Refused) {
        dialogs_.ShowMessage(MessageKind::Error, MessageButtons::Ok, result.Message);
        return;
    }
    // An added or merged row is the last one.
    if (model_->rowCount() > 0) list_->scrollTo(model_->index(model_->rowCount() - 1, 0));
    SListViewSelectItem();
    quantity_->clear();
    length_->clear();
    quantity_->setFocus();
    emit rowsChanged();
}

void EntryPanel::SListViewSelectItem() {
    const bool selected = list_->selectionModel()->hasSelection();
    modify_->setEnabled(selected);
    delete_->setEnabled(selected);
}

void EntryPanel::SModifyClick() {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.front().row();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const ListRow taken = model_->RemoveRow(row);
    // No other row takes the selection of the one taken out.
    list_->selectionModel()->clearSelection();
    quantity_->setText(QString::fromStdString(taken.Quantity));
    length_->setText(QString::fromStdString(taken.Length));
    SListViewSelectItem();
    emit rowsChanged();
    quantity_->setFocus();
}

void EntryPanel::SDeleteClick() {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.front().row();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    model_->RemoveRow(row);
    list_->selectionModel()->clearSelection();
    SListViewSelectItem();
    emit rowsChanged();
    quantity_->setFocus();
}

void EntryPanel::ListViewColumnClick(int column) {
    sortColumn_ = column;
    model_->SortRows(column);
}

}  // namespace tallora
