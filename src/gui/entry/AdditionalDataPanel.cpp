#include "gui/entry/AdditionalDataPanel.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>

#include "entry/SectionFields.h"
#include "gui/CoreTexts.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

constexpr int RowHeight = 21;

// A caption's text three pixels below its edit's top, level with the edit's text.
void SetCaptionHeight(QLabel* label) {
    label->setContentsMargins(0, Px(3), 0, Px(2));
    label->setFixedHeight(Px(RowHeight));
}

// The next row of the grid: the caption in the first column, the edit in the second.
QLineEdit* Row(QGridLayout* grid, const char* caption, const char* name, QLineEdit* edit, int width,
               const char* hint) {
    QWidget* panel = grid->parentWidget();
    auto* label = new QLabel(QCoreApplication::translate("tallora", caption), panel);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    SetCaptionHeight(label);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setStatusTip(QCoreApplication::translate("tallora", hint));
    edit->setFixedSize(Px(width), Px(RowHeight));
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, Qt::AlignLeft);
    return edit;
}

}  // namespace

AdditionalDataPanel::AdditionalDataPanel(SectionData& section, const NumberFormat& format,
                                         const JobUnits& units, QWidget* parent)
    : QGroupBox(tr(" Additional data "), parent),
      section_(section),
      format_(format),
      units_(units) {
    setObjectName(QStringLiteral("AdditionalDataPanel"));
    // Captions in an 80 pixel column from 16 pixels in, rows 25 pixels apart from 18 below the
    // top; the choices' column reaches to 5 pixels from the right.
    auto* grid = new QGridLayout(this);
    SetMarginsFromCorner(this, grid, 16, 18, 5);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(Px(25 - RowHeight));
    grid->setColumnMinimumWidth(0, Px(80));
    grid->setColumnStretch(1, 1);
    customer_ = Row(
        grid, QT_TRANSLATE_NOOP("tallora", "Customer: "), "CustomerEdit", new QLineEdit(this), 129,
        QT_TRANSLATE_NOOP("tallora",
                          "Enter the customers name here - will appear on printed cutting list"));
    reference_ =
        Row(grid, QT_TRANSLATE_NOOP("tallora", "Reference: "), "ReferenceEdit", new QLineEdit(this),
            129,
            QT_TRANSLATE_NOOP(
                "tallora", "Enter the list reference here - will appear on printed cutting list"));
    sectionEdit_ = Row(
        grid, QT_TRANSLATE_NOOP("tallora", "Section: "), "SectionEdit", new QLineEdit(this), 129,
        QT_TRANSLATE_NOOP(
            "tallora",
            "Enter the section type or name here - will appear on printed cutting list"));
    weight_ = new FilteredEdit(DecimalKey, this);
    Row(grid, QT_TRANSLATE_NOOP("tallora", "Weight (kg/m): "), "WeightEdit", weight_, 129,
        QT_TRANSLATE_NOOP("tallora", "Enter the sections weight (in kg/m) here"));
    weightLabel_ = findChild<QLabel*>(QStringLiteral("WeightEditLabel"));
    cost_ = new FilteredEdit(DecimalKey, this);
    Row(grid, QT_TRANSLATE_NOOP("tallora", "Cost:"), "CostEdit", cost_, 73,
        QT_TRANSLATE_NOOP("tallora", "Enter the section cost here"));
    // The currency sign at the end of the caption's column, three pixels before the edit.
    auto* pound = new QLabel(CurrencyLabel(format_), this);
    SetCaptionHeight(pound);
    pound->setContentsMargins(0, Px(3), Px(3), Px(2));
    pound->setMinimumWidth(Px(12 + 3));
    grid->addWidget(pound, grid->rowCount() - 1, 0, Qt::AlignRight);

    perTonne_ = new QRadioButton(tr("Per tonne"), this);
    perTonne_->setObjectName(QStringLiteral("RadioButton1"));
    perMetre_ = new QRadioButton(tr("Per metre"), this);
    perMetre_->setObjectName(QStringLiteral("RadioButton2"));
    for (QRadioButton* radio : {perTonne_, perMetre_}) {
        radio->setStatusTip(tr("Select a type for the cost shown in the box above"));
    }
    perCwt_ = new QRadioButton(tr("Per cwt"), this);
    perCwt_->setObjectName(QStringLiteral("RadioButtonCwt"));
    perCwt_->setStatusTip(tr("Select a type for the cost shown in the box above"));
    // The two choices stand 20 pixels apart, one pixel over each other, and the hundredweight
    // 70 pixels along: neighbouring cells share a row and a column of one pixel.
    choices_ = new QGridLayout;
    choices_->setSpacing(0);
    choices_->setContentsMargins(0, Px(1), 0, 0);
    for (const auto& [column, width] : {std::pair{0, 70}, {1, 20}, {2, 50}})
        choices_->setColumnMinimumWidth(column, Px(width));
    for (const auto& [row, height] : {std::pair{0, 20}, {1, 1}, {2, 20}})
        choices_->setRowMinimumHeight(row, Px(height));
    for (QRadioButton* radio : {perTonne_, perMetre_, perCwt_}) radio->setFixedHeight(Px(21));
    choices_->addWidget(perTonne_, 0, 0, 2, 2);
    choices_->addWidget(perMetre_, 1, 0, 2, 2);
    choices_->addWidget(perCwt_, 0, 1, 2, 2);
    grid->addLayout(choices_, grid->rowCount(), 1);
    grid->setRowStretch(grid->rowCount(), 1);
    perTonne_->setChecked(true);
    ShowUnits();

    for (QLineEdit* edit : {customer_, reference_, sectionEdit_, static_cast<QLineEdit*>(weight_),
                            static_cast<QLineEdit*>(cost_)}) {
        connect(edit, &QLineEdit::textEdited, this, &AdditionalDataPanel::edited);
    }
    for (QRadioButton* radio : {perTonne_, perMetre_, perCwt_}) {
        connect(radio, &QRadioButton::clicked, this, &AdditionalDataPanel::edited);
    }
    const std::pair<QLineEdit*, std::string SectionData::*> texts[] = {
        {customer_, &SectionData::Customer},
        {reference_, &SectionData::Reference},
        {sectionEdit_, &SectionData::Name}};
    for (const auto& [edit, member] : texts) {
        connect(edit, &QLineEdit::textChanged, this, [this, member = member](const QString& t) {
            section_.*member = t.toStdString();
            if (!reloading_) emit textsChanged();
        });
    }
    connect(weight_, &QLineEdit::textChanged, this, &AdditionalDataPanel::WeightEditChange);
    connect(cost_, &QLineEdit::textChanged, this, &AdditionalDataPanel::CostEditChange);
    connect(perTonne_, &QRadioButton::clicked, this, &AdditionalDataPanel::choosePerTonne);
    connect(perMetre_, &QRadioButton::clicked, this, &AdditionalDataPanel::choosePerMetre);
    connect(perCwt_, &QRadioButton::clicked, this, [this] {
        section_.CostType = ChargeBasis::Cwt;
        if (!reloading_) emit pricesChanged();
    });
}

void AdditionalDataPanel::ShowUnits() {
    const bool imperial = units_.Imperial();
    weightLabel_->setText(imperial ? tr("Weight (lb/ft): ")
                                   : QCoreApplication::translate("tallora", "Weight (kg/m): "));
    weight_->setStatusTip(imperial ? tr("Enter the sections weight (in lb/ft) here")
                                   : QCoreApplication::translate(
                                         "tallora", "Enter the sections weight (in kg/m) here"));
    perTonne_->setText(imperial ? tr("Per ton") : tr("Per tonne"));
    perMetre_->setText(imperial ? tr("Per foot") : tr("Per metre"));
    perCwt_->setVisible(imperial);
    // By the ton, the first column only: the hundredweight stands beside it.
    choices_->removeWidget(perTonne_);
    choices_->addWidget(perTonne_, 0, 0, 2, imperial ? 1 : 2);
}

void AdditionalDataPanel::Reload() {
    reloading_ = true;
    ShowUnits();
    customer_->setText(QString::fromStdString(section_.Customer));
    reference_->setText(QString::fromStdString(section_.Reference));
    sectionEdit_->setText(QString::fromStdString(section_.Name));
    weight_->setText(QString::fromStdString(WeightFieldText(section_.Weight, format_)));
    cost_->setText(QString::fromStdString(CostFieldText(section_.Cost, format_)));
    SetCostType(section_.CostType);
    reloading_ = false;
}

void AdditionalDataPanel::ShowPrices() {
    reloading_ = true;
    weight_->setText(QString::fromStdString(WeightFieldText(section_.Weight, format_)));
    cost_->setText(QString::fromStdString(CostFieldText(section_.Cost, format_)));
    reloading_ = false;
}

void AdditionalDataPanel::SetCostType(const std::string& costType) {
    if (costType == ChargeBasis::Cwt && units_.Imperial()) {
        perCwt_->setChecked(true);
        section_.CostType = ChargeBasis::Cwt;
        if (!reloading_) emit pricesChanged();
    } else if (costType == "Tonne") {
        perTonne_->setChecked(true);
        choosePerTonne();
    } else {
        perMetre_->setChecked(true);
        choosePerMetre();
    }
}

void AdditionalDataPanel::WeightEditChange() {
    const auto weight = ReadWeightText(weight_->text().toStdString(), format_);
    weightUnread_ = !weight;
    MarkPrices();
    if (!weight) return;
    section_.Weight = *weight;
    if (!reloading_) emit pricesChanged();
}

void AdditionalDataPanel::CostEditChange() {
    const auto cost = ReadCostText(cost_->text().toStdString(), format_);
    costUnread_ = !cost;
    MarkPrices();
    if (!cost) return;
    section_.Cost = *cost;
    if (!reloading_) emit pricesChanged();
}

QString AdditionalDataPanel::PriceProblem() const {
    const std::string weight = weight_->text().toStdString();
    const std::string cost = cost_->text().toStdString();
    if (weightUnread_) {
        return weightLabel_->text() + QStringLiteral("\"") + QString::fromStdString(weight) +
               QStringLiteral("\" ") + QString::fromStdString(WeightTextProblem(weight, format_));
    }
    if (costUnread_) {
        return QString::fromStdString("Cost: \"" + cost + "\" " + CostTextProblem(cost, format_));
    }
    return {};
}

QLineEdit* AdditionalDataPanel::PriceProblemField() const {
    if (weightUnread_) return weight_;
    return costUnread_ ? cost_ : nullptr;
}

void AdditionalDataPanel::MarkPrices() {
    static const QString wrong = tr("QLineEdit { border: 1px solid #c00000; }");
    weight_->setStyleSheet(weightUnread_ ? wrong : QString());
    cost_->setStyleSheet(costUnread_ ? wrong : QString());
    const QString problem = PriceProblem();
    if (problem == lastProblem_) return;
    lastProblem_ = problem;
    emit priceProblemChanged(problem);
}

void AdditionalDataPanel::choosePerTonne() {
    section_.CostType = "Tonne";
    if (!reloading_) emit pricesChanged();
}

void AdditionalDataPanel::choosePerMetre() {
    section_.CostType = "Metre";
    if (!reloading_) emit pricesChanged();
}

}  // namespace tallora
