#pragma once

#include <QGroupBox>
#include <QLabel>
#include <array>
#include <optional>

#include "results/SawSheet.h"
#include "results/Statistics.h"

namespace tallora {

// " Statistics ": nine rows of captions with their metres, percent, cost and weight labels
// (m1..m9, p1..p9, cs1..cs9, k1..k9).
class StatisticsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit StatisticsPanel(QWidget* parent);

    // FormatStatistics: writes the label texts.
    void Show(const StatisticsTexts& texts);
    const StatisticsTexts& Texts() const { return texts_; }
    // The saw sheet's cuts and length sawn, on the panel's title line; none without results.
    void ShowSawTotals(const std::optional<SawTotals>& totals, const JobUnits& units);

private:
    std::array<std::array<QLabel*, 4>, StatisticsRows> values_{};
    StatisticsTexts texts_;
    QLabel* sawTotals_;
};

}  // namespace tallora
