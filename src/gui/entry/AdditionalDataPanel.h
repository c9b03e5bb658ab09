#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "gui/widgets/FilteredEdit.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"

class QGridLayout;
class QLabel;

namespace tallora {

// " Additional data ": customer, reference and section texts, the weight per metre, the cost and
// whether it is per tonne or per metre.
class AdditionalDataPanel : public QGroupBox {
    Q_OBJECT
public:
    // The weight and the price bases are those of `units`, the job's.
    AdditionalDataPanel(SectionData& section, const NumberFormat& format, const JobUnits& units,
                        QWidget* parent);

    // The section data changed outside the panel: show it (weight with 3 and cost with 2
    // decimals).
    void Reload();
    // The calculation rewrote the weight and cost in the job: the fields show them with 3 and 2
    // decimals.
    void ShowPrices();
    void SetWeightText(const QString& text) { weight_->setText(text); }
    void SetCostText(const QString& text) { cost_->setText(text); }
    void SetCostType(const std::string& costType);

    // What is wrong with the weight or cost text ("Weight (kg/m): "1.2.3" is not a number"), with
    // its field; empty when both read as numbers. The job keeps the last value that read.
    QString PriceProblem() const;
    QLineEdit* PriceProblemField() const;

    void WeightEditChange();
    void CostEditChange();
    void choosePerTonne();
    void choosePerMetre();

signals:
    // The weight, the cost or the cost type changed: the statistics follow.
    void pricesChanged();
    // The customer, reference or section text changed in the job (not by Reload).
    void textsChanged();
    // The user changed a field or the cost type (not the program, as a file or New does).
    void edited();
    // PriceProblem changed.
    void priceProblemChanged(const QString& problem);

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
    QRadioButton* perCwt_;
    QGridLayout* choices_ = nullptr;  // per tonne, per metre and per cwt
    QLabel* weightLabel_;
    const JobUnits& units_;
    void ShowUnits();
    bool reloading_ = false;
    bool weightUnread_ = false;
    bool costUnread_ = false;
    QString lastProblem_;

    void MarkPrices();
};

}  // namespace tallora
