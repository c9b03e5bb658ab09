#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "job/CuttingJob.h"
#include "results/NumberFormat.h"
#include "widgets/FilteredEdit.h"

namespace tallora {

// " Additional data ": customer, reference and section texts, the weight per metre, the cost and
// whether it is per tonne or per metre.
class AdditionalDataPanel : public QGroupBox {
    Q_OBJECT
public:
    AdditionalDataPanel(SectionData& section, const NumberFormat& format, QWidget* parent);

    // The section data changed outside the panel: show it (weight with 3 and cost with 2
    // decimals).
    void Reload();
    // The calculation rewrote the weight and cost in the job: the fields show them with 3 and 2
    // decimals.
    void ShowPrices();
    void SetWeightText(const QString& text) { weight_->setText(text); }
    void SetCostText(const QString& text) { cost_->setText(text); }
    void SetCostType(const std::string& costType);

    void WeightEditChange();
    void CostEditChange();
    void RadioButton1Click();
    void RadioButton2Click();

signals:
    // The weight, the cost or the cost type changed: the statistics follow.
    void pricesChanged();

private:
    SectionData& section_;
    const NumberFormat& format_;
    QLineEdit* customer_;
    QLineEdit* reference_;
    QLineEdit* sectionEdit_;
    FilteredEdit* weight_;
    FilteredEdit* cost_;
    QRadioButton* perTonne_;
    QRadioButton* perMetre_;
    bool reloading_ = false;
};

}  // namespace tallora
