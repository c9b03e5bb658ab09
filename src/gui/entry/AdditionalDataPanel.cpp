#include "gui/entry/AdditionalDataPanel.h"

#include <QCoreApplication>
#include <QLabel>

#include "entry/SectionFields.h"
#include "gui/CoreTexts.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

QLineEdit* Row(QWidget* panel, const char* caption, const char* name, int y, QLineEdit* edit,
               int width, const char* hint) {
    auto* label = new QLabel(QCoreApplication::translate("tallora", caption), panel);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    Place(label, 16, y + 3, 80, 16);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setStatusTip(QCoreApplication::translate("tallora", hint));
    Place(edit, 96, y, width, 21);
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
    customer_ =
        Row(this, QT_TRANSLATE_NOOP("tallora", "Customer: "), "CustomerEdit", 18,
            new QLineEdit(this), 129,
            QT_TRANSLATE_NOOP(
                "tallora", "Enter the customers name here - will appear on printed cutting list"));
    reference_ =
        Row(this, QT_TRANSLATE_NOOP("tallora", "Reference: "), "ReferenceEdit", 43,
            new QLineEdit(this), 129,
            QT_TRANSLATE_NOOP(
                "tallora", "Enter the list reference here - will appear on printed cutting list"));
    sectionEdit_ =
        Row(this, QT_TRANSLATE_NOOP("tallora", "Section: "), "SectionEdit", 68, new QLineEdit(this),
            129,
            QT_TRANSLATE_NOOP(
                "tallora",
                "Enter the section type or name here - will appear on printed cutting list"));
    weight_ = new FilteredEdit(DecimalKey, this);
    Row(this, QT_TRANSLATE_NOOP("tallora", "Weight (kg/m): "), "WeightEdit", 93, weight_, 129,
        QT_TRANSLATE_NOOP("tallora", "Enter the sections weight (in kg/m) here"));
    weightLabel_ = findChild<QLabel*>(QStringLiteral("WeightEditLabel"));
    cost_ = new FilteredEdit(DecimalKey, this);
    Row(this, QT_TRANSLATE_NOOP("tallora", "Cost:"), "CostEdit", 118, cost_, 73,
        QT_TRANSLATE_NOOP("tallora", "Enter the section cost here"));
    auto* pound = new QLabel(CurrencyLabel(format_), this);
    Place(pound, 81, 121, 12, 16);

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
    Place(perTonne_, 96, 144, 90, 21);
    Place(perMetre_, 96, 164, 90, 21);
    Place(perCwt_, 166, 144, 70, 21);
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
    perTonne_->resize(imperial ? Px(70) : Px(90), perTonne_->height());
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
