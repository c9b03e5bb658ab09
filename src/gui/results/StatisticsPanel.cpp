#include "gui/results/StatisticsPanel.h"

#include "gui/CoreTexts.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {
// Left edges of the four columns; the labels are right-justified and keep their right edge where
// a label of the design width stood.
constexpr int kColumns[] = {175, 293, 438, 576};
constexpr int kDesignWidth = 36;
constexpr int kWidth = 110;
const char* const kPrefixes[] = {"m", "p", "cs", "k"};
}  // namespace

StatisticsPanel::StatisticsPanel(QWidget* parent) : QGroupBox(tr(" Statistics "), parent) {
    setObjectName(QStringLiteral("StatisticsPanel"));
    const StatisticsTexts captions = FormatStatistics(Statistics{}, NumberFormat::UK());
    for (int i = 0; i < StatisticsRows; ++i) {
        const int y = 16 + 16 * i;
        auto* caption = new QLabel(CoreText(captions.Captions[i]), this);
        Place(caption, 16, y, 150, 15);
        for (int c = 0; c < 4; ++c) {
            auto* label = new QLabel(QStringLiteral("xxxxxx"), this);
            label->setObjectName(QString::fromLatin1(kPrefixes[c]) + QString::number(i + 1));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Place(label, kColumns[c] + kDesignWidth - kWidth, y, kWidth, 15);
            values_[i][c] = label;
        }
    }
    // On the title line: the nine rows fill the panel, and stay as they are.
    sawTotals_ = new QLabel(this);
    sawTotals_->setObjectName(QStringLiteral("SawTotals"));
    sawTotals_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sawTotals_->setAutoFillBackground(true);
    sawTotals_->hide();
    Place(sawTotals_, 300, 0, 312, 14);
}

void StatisticsPanel::ShowSawTotals(const std::optional<SawTotals>& totals, const JobUnits& units) {
    if (!totals) {
        sawTotals_->hide();
        return;
    }
    sawTotals_->setText(tr(" Saw cuts: %1    Length sawn: %2 ")
                            .arg(totals->SawCuts)
                            .arg(QString::fromStdString(FormatLength(totals->SawnLength, units))));
    sawTotals_->adjustSize();
    sawTotals_->move(sawTotals_->parentWidget()->width() - sawTotals_->width() - 10, 0);
    sawTotals_->show();
}

void StatisticsPanel::Show(const StatisticsTexts& texts) {
    texts_ = texts;
    for (int i = 0; i < StatisticsRows; ++i) {
        values_[i][0]->setText(QString::fromStdString(texts.Metres[i]));
        values_[i][1]->setText(QString::fromStdString(texts.Percent[i]));
        values_[i][2]->setText(QString::fromStdString(texts.Cost[i]));
        values_[i][3]->setText(QString::fromStdString(texts.Weight[i]));
    }
}

}  // namespace tallora
