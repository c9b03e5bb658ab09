#include "gui/costing/CostingWindow.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "costing/CostingFields.h"
#include "entry/KeyFilters.h"
#include "gui/CoreTexts.h"
#include "gui/costing/SheetClipboard.h"
#include "gui/widgets/DesignGeometry.h"
#include "gui/widgets/FilteredEdit.h"
#include "storage/AutoSave.h"
#include "storage/Settings.h"

namespace tallora {

namespace {

// The core's texts (charge names, captions, TOTALS) as the user's language has them.
QString Q(const std::string& text) { return CoreText(text); }

constexpr int PanelHeight = 97;
constexpr int GroupTop = 8;
constexpr int GroupHeight = 81;
constexpr int ChargeGroupWidth = 167;
constexpr int FirstOtherColumn = 5;  // grid column of other charge 1
constexpr int EditTop = 19;

// A value field takes the room the group has; its own hint must not widen the group.
void LetFill(QLineEdit* edit) {
    edit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    edit->setFixedHeight(Px(21));
}

// A choice is as wide as its column, or as the room its text needs where the column is too
// narrow: where the style starts the text, and the text.
void FitChoice(QRadioButton* radio) {
    QStyleOptionButton option;
    option.initFrom(radio);
    option.text = radio->text();
    const QRect contents =
        radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    radio->setMinimumWidth(contents.left() + radio->fontMetrics().horizontalAdvance(radio->text()));
}

// A group keeps its design width, or grows where its caption or choices need more: a spacer
// holds the design width open, so that the group's own hint still counts its caption.
void SizeGroup(QGroupBox* group, QBoxLayout* column, int width) {
    const QMargins frame = group->contentsMargins();
    const QMargins inner = column->contentsMargins();
    column->addSpacerItem(
        new QSpacerItem(Px(width) - frame.left() - frame.right() - inner.left() - inner.right(), 0,
                        QSizePolicy::Fixed, QSizePolicy::Fixed));
    group->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    group->setFixedHeight(Px(GroupHeight));
}

// Checks the button whose code is the basis; none when no code matches.
void CheckOnly(const std::vector<QRadioButton*>& radios, const std::vector<const char*>& codes,
               const std::string& basis) {
    for (QRadioButton* radio : radios) radio->setAutoExclusive(false);
    for (size_t i = 0; i < radios.size(); ++i) radios[i]->setChecked(basis == codes[i]);
    for (QRadioButton* radio : radios) radio->setAutoExclusive(true);
}

}  // namespace

CostingWindow::CostingWindow(JobInput& input, const CalculationResult& result, Dialogs& dialogs,
                             RegistryStore& store, NumberFormat format, QWidget* parent)
    : QDialog(parent),
      input_(input),
      result_(result),
      dialogs_(dialogs),
      store_(store),
      format_(std::move(format)),
      material_(MaterialPrice::OfJob(input.Section)) {
    setObjectName(QStringLiteral("CostingWindow"));
    setWindowTitle(tr("Tallora: Material Costing"));
    setModal(true);
    // Where Tahoma is missing, a face of similar width keeps the captions inside their groups.
    QFont font;
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSize(8);
    setFont(font);
    resize(Px(945), Px(685));
    CreateControls();
    ShowUnits();

    LoadChargeNames(store_, input_.Costing);
    ApplyNames();
    // Every control in its place before the window first shows, as the fixed places had them.
    for (QLayout* layout : findChildren<QLayout*>()) layout->activate();
}

void CostingWindow::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFixedHeight(Px(PanelHeight));
    layout->addWidget(top);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(Px(8), Px(GroupTop), 0, Px(PanelHeight - GroupTop - GroupHeight));
    row->setSpacing(Px(8));
    CreateChargeGroups(row);
    row->addStretch(1);
    layout->addWidget(CreateTable(), 1);
    layout->addWidget(CreateButtons());
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(statusBar_);

    Connect(matCost_, &material_.Rate, &material_.Basis);
    connect(weightEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        material_.Weight = ReadChargeValue(text.toStdString(), format_);
        MakeCostingSheet();
    });
    CostingSettings& c = input_.Costing;
    Connect(cut_, &c.CCutValue, &c.CCutType);
    Connect(others_[0], &c.CGalvValue, &c.CGalvType);
    Connect(others_[1], &c.CPPValue, &c.CPPType);
    Connect(others_[2], &c.COtherValue, &c.COtherType);
}

void CostingWindow::CreateChargeGroups(QHBoxLayout* row) {
    QWidget* top = row->parentWidget();
    const std::vector<const char*> materialCodes = {ChargeBasis::Tonne, ChargeBasis::Metre};
    const std::vector<const char*> cutCodes = {ChargeBasis::Tonne, ChargeBasis::Metre,
                                               ChargeBasis::Lump, ChargeBasis::Cut};
    const std::vector<const char*> otherCodes = {ChargeBasis::Tonne, ChargeBasis::Metre,
                                                 ChargeBasis::Lump, ChargeBasis::Each};
    matCost_ =
        MakeGroup(row, "MatCostGroup", tr(" Material Cost * "), 129, "CCostEdit",
                  {{"CMRadioT", QT_TR_NOOP("Per tonne")}, {"CMRadioM", QT_TR_NOOP("Per metre")}},
                  materialCodes);

    auto* weightGroup = new QGroupBox(tr(" Weight "), top);
    weightGroup->setObjectName(QStringLiteral("WeightGroup"));
    row->addWidget(weightGroup);
    auto* weightColumn = new QVBoxLayout(weightGroup);
    SetMarginsFromCorner(weightGroup, weightColumn, 12, EditTop, 12);
    weightColumn->setSpacing(Px(5));
    weightEdit_ = new FilteredEdit(DecimalKey, weightGroup);
    weightEdit_->setText(QStringLiteral("0"));
    weightEdit_->setObjectName(QStringLiteral("CWeightEdit"));
    LetFill(weightEdit_);
    weightColumn->addWidget(weightEdit_);
    weightUnit_ = new QLabel(tr("kg/m"), weightGroup);
    weightUnit_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    weightUnit_->setFixedHeight(Px(16));
    weightColumn->addWidget(weightUnit_);
    weightColumn->addStretch(1);
    SizeGroup(weightGroup, weightColumn, 89);

    // An imperial job's material may be priced by the hundredweight too, beside the price by
    // the ton.
    matCwt_ = new QRadioButton(tr("Per cwt"), matCost_.Group);
    matCwt_->setObjectName(QStringLiteral("CMRadioW"));
    matCwt_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    matCwt_->setFixedHeight(Px(17));
    FitChoice(matCwt_);
    matChoices_->addWidget(matCwt_, 0, 1);
    matCost_.Radios.push_back(matCwt_);
    matCost_.Codes.push_back(ChargeBasis::Cwt);

    cut_ = MakeGroup(row, "CutGroup", tr(" Cutting Charge * "), ChargeGroupWidth, "CCutEdit",
                     {{"CCRadioT", QT_TR_NOOP("Per tonne")},
                      {"CCRadioM", QT_TR_NOOP("Per metre")},
                      {"CCRadioL", QT_TR_NOOP("Lump sum")},
                      {"CCRadioC", QT_TR_NOOP("Per cut")}},
                     cutCodes);
    const char* groups[] = {"GalvGroup", "PaintGroup", "OtherGroup"};
    const char* edits[] = {"CGalvEdit", "CPPEdit", "COtherEdit"};
    const char* prefixes[] = {"CGRadio", "CPRadio", "CORadio"};
    for (int k = 0; k < OtherChargeCount; ++k) {
        const std::string prefix = prefixes[k];
        const std::string t = prefix + "T", m = prefix + "M", l = prefix + "L", e = prefix + "E";
        others_[k] =
            MakeGroup(row, groups[k], Q(ChargeGroupCaption(k + 1, DefaultChargeName(k + 1))),
                      ChargeGroupWidth, edits[k],
                      {{t.c_str(), QT_TR_NOOP("Per tonne")},
                       {m.c_str(), QT_TR_NOOP("Per metre")},
                       {l.c_str(), QT_TR_NOOP("Lump sum")},
                       {e.c_str(), QT_TR_NOOP("Each")}},
                      otherCodes);
        others_[k].Group->installEventFilter(this);
    }
}

QTableWidget* CostingWindow::CreateTable() {
    list_ = new QTableWidget(0, CostingColumns, this);
    list_->setObjectName(QStringLiteral("CostListView"));
    list_->setShowGrid(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + Px(4));
    list_->horizontalHeader()->setHighlightSections(false);
    const QStringList captions = {tr("Quantity"),
                                  tr("Length"),
                                  tr("Net Weight (ea)"),
                                  tr("Material cost (ea)"),
                                  tr("Cutting Charge (ea)"),
                                  QString(),
                                  QString(),
                                  QString(),
                                  tr("Total Cost (ea)")};
    for (int c = 0; c < CostingColumns; ++c) {
        auto* header = new QTableWidgetItem(captions[c]);
        header->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        list_->setHorizontalHeaderItem(c, header);
    }
    list_->viewport()->installEventFilter(this);
    return list_;
}

QWidget* CostingWindow::CreateButtons() {
    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    bottom->setFixedHeight(Px(55));
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(Px(8), Px(6), Px(8), Px(6));
    auto* notes = new QVBoxLayout;
    notes->setSpacing(Px(4));
    notes->addWidget(new QLabel(tr("(** Calculated on Net Cut Pieces)"), bottom));
    notes->addWidget(new QLabel(tr("(*   Calculated on Gross Material Used)"), bottom));
    bottomLayout->addLayout(notes);
    bottomLayout->addStretch(1);
    copyButton_ = new QPushButton(tr("Copy to Clipboard"), bottom);
    copyButton_->setObjectName(QStringLiteral("CopyButton"));
    copyButton_->setMinimumSize(Px(121), Px(27));
    // Enter in a value field must not copy.
    copyButton_->setAutoDefault(false);
    connect(copyButton_, &QPushButton::clicked, this, [this] { copyToClipboard(); });
    bottomLayout->addWidget(copyButton_);
    return bottom;
}

CostingWindow::ChargeGroup CostingWindow::MakeGroup(
    QHBoxLayout* row, const char* name, const QString& caption, int width, const char* editName,
    const std::vector<std::pair<const char*, const char*>>& radios,
    const std::vector<const char*>& codes) {
    ChargeGroup group;
    group.Group = new QGroupBox(caption, row->parentWidget());
    group.Group->setObjectName(QString::fromLatin1(name));
    row->addWidget(group.Group);
    // Four choices make two columns of 74 pixels; two stack under the field, with room beside
    // the first for the imperial hundredweight.
    const bool twoColumns = radios.size() > 2;
    const int rightMargin = twoColumns ? 7 : 3;
    auto* column = new QVBoxLayout(group.Group);
    SetMarginsFromCorner(group.Group, column, 10, EditTop, rightMargin);
    column->setSpacing(Px(3));
    auto* valueRow = new QHBoxLayout;
    valueRow->setSpacing(0);
    valueRow->addSpacing(Px(2));
    auto* pound = new QLabel(CurrencyLabel(format_), group.Group);
    // Its text three pixels below the field's top, level with the field's text.
    pound->setContentsMargins(0, Px(3), 0, 0);
    pound->setFixedHeight(Px(19));
    pound->setMinimumWidth(Px(12));
    pound->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    valueRow->addWidget(pound, 0, Qt::AlignTop);
    group.Edit = new FilteredEdit(DecimalKey, group.Group);
    group.Edit->setText(QStringLiteral("0"));
    group.Edit->setObjectName(QString::fromLatin1(editName));
    LetFill(group.Edit);
    valueRow->addWidget(group.Edit);
    valueRow->addSpacing(Px(12 - rightMargin));
    column->addLayout(valueRow);
    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(Px(2));
    choices->setVerticalSpacing(Px(1));
    choices->setColumnMinimumWidth(0, Px(twoColumns ? 74 : 54));
    choices->setColumnMinimumWidth(1, Px(twoColumns ? 74 : 60));
    for (size_t i = 0; i < radios.size(); ++i) {
        auto* radio = new QRadioButton(tr(radios[i].second), group.Group);
        radio->setObjectName(QString::fromLatin1(radios[i].first));
        radio->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        radio->setFixedHeight(Px(17));
        FitChoice(radio);
        const int r = static_cast<int>(i % 2);
        if (twoColumns)
            choices->addWidget(radio, r, static_cast<int>(i / 2));
        else
            choices->addWidget(radio, r, 0, 1, 2);
        radio->setChecked(i == 0);
        group.Radios.push_back(radio);
    }
    column->addLayout(choices);
    column->addStretch(1);
    SizeGroup(group.Group, column, width);
    if (!twoColumns) matChoices_ = choices;
    group.Codes = codes;
    return group;
}

void CostingWindow::Connect(ChargeGroup& group, double* value, std::string* basis) {
    connect(group.Edit, &QLineEdit::textChanged, this, [this, value](const QString& text) {
        *value = ReadChargeValue(text.toStdString(), format_);
        MakeCostingSheet();
    });
    for (size_t i = 0; i < group.Radios.size(); ++i) {
        const char* code = group.Codes[i];
        connect(group.Radios[i], &QRadioButton::clicked, this, [this, basis, code] {
            *basis = code;
            MakeCostingSheet();
        });
    }
}

CostingOutcome CostingWindow::Execute(double sectionCost, double sectionWeight,
                                      const std::string& costType, const Statistics& stats) {
    Prepare(sectionCost, sectionWeight, costType, stats);
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) move(screen->availableGeometry().center() - rect().center());
    FormShow();
    exec();
    return FormClose();
}

void CostingWindow::Prepare(double sectionCost, double sectionWeight, const std::string& costType,
                            const Statistics& stats) {
    stats_ = stats;
    matCost_.Edit->setText(Q(FormatGeneral(sectionCost, format_)));
    material_.Rate = sectionCost;
    material_.Basis = costType;
    weightEdit_->setText(Q(FormatGeneral(sectionWeight, format_)));
    material_.Weight = sectionWeight;
}

void CostingWindow::ShowUnits() {
    const bool imperial = input_.Units.Imperial();
    weightUnit_->setText(imperial ? tr("lb/ft") : tr("kg/m"));
    for (ChargeGroup* group : {&matCost_, &cut_, &others_[0], &others_[1], &others_[2]}) {
        for (size_t i = 0; i < group->Codes.size(); ++i) {
            QRadioButton* radio = group->Radios[i];
            if (group->Codes[i] == ChargeBasis::Tonne)
                radio->setText(imperial ? tr("Per ton") : tr("Per tonne"));
            else if (group->Codes[i] == ChargeBasis::Metre)
                radio->setText(imperial ? tr("Per foot") : tr("Per metre"));
            FitChoice(radio);
        }
    }
    matCwt_->setVisible(imperial);
    // By the ton, the first column only: the hundredweight stands beside it.
    QRadioButton* perTon = matCost_.Radios.front();
    matChoices_->removeWidget(perTon);
    matChoices_->addWidget(perTon, 0, 0, 1, imperial ? 1 : 2);
}

void CostingWindow::FormShow() {
    // The fields' rewrites below read their values back; the sheet is worked out once, at the end.
    ShowUnits();
    showing_ = true;
    material_.Weight = ReadChargeValue(weightEdit_->text().toStdString(), format_);
    ShowValue(weightEdit_, material_.Weight, 3);
    ShowBasis(matCost_, material_.Basis);
    material_.Rate = ReadChargeValue(matCost_.Edit->text().toStdString(), format_);
    ShowValue(matCost_.Edit, material_.Rate, 2);

    const CostingSettings& c = input_.Costing;
    ShowValue(cut_.Edit, c.CCutValue, 2);
    ShowBasis(cut_, c.CCutType);
    ShowValue(others_[0].Edit, c.CGalvValue, 2);
    ShowBasis(others_[0], c.CGalvType);
    ShowValue(others_[1].Edit, c.CPPValue, 2);
    ShowBasis(others_[1], c.CPPType);
    ShowValue(others_[2].Edit, c.COtherValue, 2);
    ShowBasis(others_[2], c.COtherType);
    showing_ = false;
    MakeCostingSheet();
}

CostingOutcome CostingWindow::FormClose() {
    WriteNames();
    return {matCost_.Edit->text().toStdString(), material_.Rate, material_.Basis,
            weightEdit_->text().toStdString(), material_.Weight};
}

// Rewriting a field runs its change handler, which reads the value back as shown.
void CostingWindow::ShowValue(QLineEdit* edit, double value, int decimals) {
    edit->setText(Q(FormatFixed(value, decimals, format_)));
}

void CostingWindow::ShowBasis(const ChargeGroup& group, const std::string& basis) {
    CheckOnly(group.Radios, group.Codes, basis);
}

void CostingWindow::MakeCostingSheet() {
    if (showing_) return;
    sheet_ = tallora::MakeCostingSheet(input_, result_, stats_, material_, input_.Costing, format_);
    list_->clearContents();
    list_->setRowCount(static_cast<int>(sheet_.GridRows.size()));
    for (int r = 0; r < list_->rowCount(); ++r) {
        const CostingGridRow& row = sheet_.GridRows[static_cast<size_t>(r)];
        for (int c = 0; c < CostingColumns; ++c) {
            auto* item = new QTableWidgetItem(Q(row[static_cast<size_t>(c)]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            list_->setItem(r, c, item);
        }
    }
    FitColumns();
}

// Columns take the width of their contents, and share what is left of the view.
void CostingWindow::FitColumns() {
    list_->resizeColumnsToContents();
    int used = 0;
    for (int c = 0; c < CostingColumns; ++c) used += list_->columnWidth(c);
    const int spare = list_->viewport()->width() - used;
    if (spare <= 0) return;
    for (int c = 0; c < CostingColumns; ++c) {
        const int share = spare / CostingColumns + (c < spare % CostingColumns ? 1 : 0);
        list_->setColumnWidth(c, list_->columnWidth(c) + share);
    }
}

void CostingWindow::copyToClipboard() {
    QGuiApplication::clipboard()->setMimeData(SheetMimeData(sheet_.ClipboardLines));
}

void CostingWindow::renameCharge(int charge) {
    std::string& name = ChargeName(input_.Costing, charge);
    if (auto answer = dialogs_.AskText(
            tr("Rename Charge").toStdString(),
            tr("Enter a name for this charge (leave blank to reset to default):").toStdString(),
            name)) {
        name = RenamedCharge(charge, *answer);
    }
    ApplyNames();
    WriteNames();
    // The copied text's header carries the names.
    MakeCostingSheet();
}

std::array<std::string, 3> CostingWindow::NamesForStoring() const {
    std::array<std::string, 3> names;
    for (int k = 1; k <= OtherChargeCount; ++k) {
        names[static_cast<size_t>(k - 1)] =
            StoredChargeName(ChargeName(input_.Costing, k), DefaultChargeName(k));
    }
    return names;
}

void CostingWindow::SetNamesFromStorage(const std::array<std::string, 3>& stored) {
    for (int k = 1; k <= OtherChargeCount; ++k) {
        ApplyStoredChargeName(ChargeName(input_.Costing, k), stored[static_cast<size_t>(k - 1)]);
    }
    ApplyNames();
}

void CostingWindow::ReloadNames() { ApplyNames(); }

void CostingWindow::ApplyNames() {
    for (int k = 1; k <= OtherChargeCount; ++k) {
        const std::string& name = ChargeName(input_.Costing, k);
        others_[static_cast<size_t>(k - 1)].Group->setTitle(Q(ChargeGroupCaption(k, name)));
        list_->horizontalHeaderItem(FirstOtherColumn + k - 1)
            ->setText(Q(ChargeColumnCaption(name)));
    }
}

void CostingWindow::WriteNames() { WriteChargeNames(store_, input_.Costing); }

bool CostingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == list_->viewport()) FitColumns();
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < OtherChargeCount; ++k) {
            if (watched == others_[static_cast<size_t>(k)].Group) {
                renameCharge(k + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tallora
