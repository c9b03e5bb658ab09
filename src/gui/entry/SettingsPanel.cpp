#include "gui/entry/SettingsPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/widgets/DesignGeometry.h"

namespace tallora {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setFocusPolicy(Qt::NoFocus);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setFocusPolicy(Qt::NoFocus);
}

void SpinButton::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

namespace {

struct RowDesign {
    AllowanceField field;
    const char* name;
    const char* caption;
    const char* hint;
};

const RowDesign kRows[] = {
    {AllowanceField::Kerf, "Kerf", QT_TRANSLATE_NOOP("tallora::SettingsPanel", "Kerf: "),
     QT_TRANSLATE_NOOP("tallora::SettingsPanel",
                       "Click to adjust the kerf setting (amount of bar wasted for each saw cut)")},
    {AllowanceField::Trim, "Trim", QT_TRANSLATE_NOOP("tallora::SettingsPanel", "Trim: "),
     QT_TRANSLATE_NOOP("tallora::SettingsPanel",
                       "Click to adjust the trim setting (amount of bar wasted to square or clean "
                       "up the bar)")},
    {AllowanceField::Hold, "Hold", QT_TRANSLATE_NOOP("tallora::SettingsPanel", "Hold: "),
     QT_TRANSLATE_NOOP("tallora::SettingsPanel",
                       "Click to adjust the hold setting (amount of bar wasted to hold onto to "
                       "produce the last piece) Will be added to any scrap or offcuts left over "
                       "when the bar is processed")},
    {AllowanceField::Offcut, "Offcut",
     QT_TRANSLATE_NOOP("tallora::SettingsPanel", "Scrap waste under: "),
     QT_TRANSLATE_NOOP("tallora::SettingsPanel",
                       "Click to change the length of any waste material saved as offcuts")},
};

constexpr int RowHeight = 21;
constexpr int SpinWidth = 20;

}  // namespace

SettingsPanel::SettingsPanel(Allowances& allowances, const JobUnits& units, QWidget* parent)
    : QGroupBox(tr(" Settings "), parent), allowances_(allowances), units_(units) {
    setObjectName(QStringLiteral("SettingsPanel"));
    // A column of rows 33 pixels apart from 20 pixels below the panel's top; the scrap row's
    // caption takes two lines and the box sits under the edits.
    auto* column = new QVBoxLayout(this);
    SetMarginsFromCorner(this, column, 16, 20, 32);
    column->setSpacing(0);
    for (const RowDesign& d : kRows) {
        Row& row = rows_[Index(d.field)];
        const QString name = QString::fromLatin1(d.name);
        row.label = new QLabel(tr(d.caption), this);
        row.label->setObjectName(d.field == AllowanceField::Offcut ? QStringLiteral("LScrap")
                                                                   : QStringLiteral("L") + name);
        const bool scrapRow = d.field == AllowanceField::Offcut;
        if (scrapRow) {
            row.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row.label->setWordWrap(true);
            row.label->setFixedHeight(Px(30));
        } else {
            // Indented, its text level with the edit's.
            row.label->setContentsMargins(Px(15), Px(3), 0, Px(2));
            row.label->setFixedHeight(Px(RowHeight));
        }
        row.edit = new FilteredEdit(
            [this](char32_t key) {
                return units_.Imperial() ? ImperialAllowanceKey(key) : AllowanceKey(key);
            },
            this);
        row.edit->setObjectName(name + QStringLiteral("Edit"));
        row.edit->setStatusTip(tr(d.hint));
        row.edit->setFixedHeight(Px(RowHeight));
        row.spin = new SpinButton(this);
        row.spin->setObjectName(name + QStringLiteral("Spin"));
        row.spin->setStatusTip(tr(d.hint));
        row.spin->setFixedSize(Px(SpinWidth), Px(RowHeight));
        // The spin button covers the edit's right border, one pixel, as a spin box's does: the
        // two share the column between their cells.
        auto* line = row.line = new QGridLayout;
        line->setSpacing(0);
        line->addWidget(row.label, 0, 0);
        line->setColumnMinimumWidth(1, Px(7));
        line->addWidget(row.edit, 0, 2, 1, 2);
        line->addWidget(row.spin, 0, 3, 1, 2);
        line->setColumnMinimumWidth(3, 1);
        line->setColumnMinimumWidth(4, Px(SpinWidth) - 1);
        line->setColumnStretch(0, 1);
        if (scrapRow) column->addSpacing(Px(8));
        column->addLayout(line);
        if (d.field == AllowanceField::Kerf || d.field == AllowanceField::Trim)
            column->addSpacing(Px(33 - RowHeight));

        const AllowanceField field = d.field;
        connect(row.edit, &FilteredEdit::focusEntered, this,
                [this, field] { NumericSpinEditEnter(field); });
        connect(row.edit, &QLineEdit::textChanged, this, [this, field] { EditChange(field); });
        connect(row.edit, &QLineEdit::textEdited, this, &SettingsPanel::edited);
        connect(row.edit, &FilteredEdit::focusLeft, this, [this, field] { EditExit(field); });
        connect(row.spin->Up(), &QToolButton::clicked, this, [this, field] { stepUp(field); });
        connect(row.spin->Down(), &QToolButton::clicked, this, [this, field] { stepDown(field); });
        connect(row.spin->Up(), &QToolButton::clicked, this, &SettingsPanel::edited);
        connect(row.spin->Down(), &QToolButton::clicked, this, &SettingsPanel::edited);
    }
    FitEdits();
    noOffcuts_ = new QCheckBox(tr("Scrap all waste"), this);
    noOffcuts_->setObjectName(QStringLiteral("NoOffcuts"));
    noOffcuts_->setLayoutDirection(Qt::RightToLeft);  // caption on the left of the box
    noOffcuts_->setStatusTip(tr("Check this box to class all waste as 'scrap'"));
    // A longer caption grows to the left, the box staying under the edits.
    noOffcuts_->setMinimumWidth(Px(110));
    noOffcuts_->setFixedHeight(Px(17));
    noOffcuts_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* boxRow = new QHBoxLayout;
    boxRow->setSpacing(0);
    boxRow->addStretch(1);
    boxRow->addWidget(noOffcuts_);
    boxRow->addSpacing(Px(35));  // its right edge 67 pixels in from the panel's
    column->addSpacing(Px(11));
    column->addLayout(boxRow);
    column->addStretch(1);
    connect(noOffcuts_, &QCheckBox::toggled, this, &SettingsPanel::toggleScrapAll);
    connect(noOffcuts_, &QCheckBox::clicked, this, &SettingsPanel::edited);

    setTabOrder(rows_[0].edit, rows_[1].edit);
    setTabOrder(rows_[1].edit, rows_[2].edit);
    setTabOrder(rows_[2].edit, rows_[3].edit);
    setTabOrder(rows_[3].edit, noOffcuts_);
}

void SettingsPanel::FitEdits() {
    // Every edit shows the largest value with its "mm": wider than the layout's 49 where the
    // font needs it, growing to the left so that it stays beside its spin button.
    // In feet and inches the longest text is not the largest value's.
    const QString widest = QString::fromStdString(
        units_.Imperial() ? WriteImperialLength(9 * TicksPerFoot + 11 * TicksPerInch + 31,
                                                ImperialPrecision::ThirtySecond)
                          : AllowanceDisplayText(RangeOf(AllowanceField::Offcut).Max));
    const int width = std::max(Px(49), EditWidthFor(rows_[0].edit, widest));
    for (Row& row : rows_) {
        row.edit->setFixedWidth(width);
        row.line->setColumnMinimumWidth(2, width - 1);
    }
}

void SettingsPanel::Reload() {
    reloading_ = true;
    FitEdits();
    for (const RowDesign& d : kRows) DisplayChange(d.field);
    noOffcuts_->setChecked(allowances_.NoOffcuts);
    toggleScrapAll();
    reloading_ = false;
}

void SettingsPanel::NumericSpinEditEnter(AllowanceField field) {
    FilteredEdit* edit = Edit(field);
    edit->setText(QString::fromStdString(AllowanceFocusText(edit->text().toStdString())));
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, edit, &QLineEdit::selectAll);
}

void SettingsPanel::EditChange(AllowanceField field) {
    const int current = AllowanceOf(allowances_, field);
    const int value = AllowanceFromText(field, Edit(field)->text().toStdString(), current, units_);
    SetAllowance(allowances_, field, value, units_);
    if (!reloading_) emit allowanceChanged();
}

void SettingsPanel::DisplayChange(AllowanceField field) {
    Edit(field)->setText(
        QString::fromStdString(AllowanceDisplayText(AllowanceOf(allowances_, field), units_)));
}

void SettingsPanel::EditExit(AllowanceField field) {
    DisplayChange(field);
    if (field == AllowanceField::Offcut) OffcutRule();
}

void SettingsPanel::stepUp(AllowanceField field) {
    SetAllowance(allowances_, field, SpinUp(field, AllowanceOf(allowances_, field), units_),
                 units_);
    DisplayChange(field);
    if (field == AllowanceField::Offcut) OffcutRule();
}

void SettingsPanel::stepDown(AllowanceField field) {
    SetAllowance(allowances_, field, SpinDown(field, AllowanceOf(allowances_, field), units_),
                 units_);
    DisplayChange(field);
    if (field == AllowanceField::Offcut) OffcutRule();
}

void SettingsPanel::OffcutRule() {
    // An offcut length of 0 means every remnant is scrap: the box says so.
    if (allowances_.Offcut == 0 && !noOffcuts_->isChecked()) noOffcuts_->setChecked(true);
}

void SettingsPanel::toggleScrapAll() {
    const bool scrapAll = noOffcuts_->isChecked();
    LScrap()->setEnabled(!scrapAll);
    Edit(AllowanceField::Offcut)->setEnabled(!scrapAll);
    Spin(AllowanceField::Offcut)->setEnabled(!scrapAll);
    if (allowances_.NoOffcuts == scrapAll && reloading_) return;
    allowances_.NoOffcuts = scrapAll;
    if (!reloading_) emit scrapAllChanged();
}

}  // namespace tallora
