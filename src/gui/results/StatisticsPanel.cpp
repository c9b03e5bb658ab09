#include "gui/results/StatisticsPanel.h"

#include <QGridLayout>

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
constexpr int kCaptionLeft = 16;
constexpr int kCaptionWidth = 150;
constexpr int kRowHeight = 15;
constexpr int kPanelWidth = 625;  // as the main window places the panel

int ValueLeft(int c) { return kColumns[c] + kDesignWidth - kWidth; }
int ValueRight(int c) { return kColumns[c] + kDesignWidth; }

// The grid's columns: the caption's and the first value's overlap in column 1, so that a long
// first value may reach into the caption's room; the others stand apart, with gaps between.
constexpr int kCaptionColumn = 0;
constexpr int kValueColumns[] = {1, 4, 6, 8};
}  // namespace

StatisticsPanel::StatisticsPanel(QWidget* parent) : QGroupBox(tr(" Statistics "), parent) {
    setObjectName(QStringLiteral("StatisticsPanel"));
    auto* grid = new QGridLayout(this);
    SetMarginsFromCorner(this, grid, kCaptionLeft, 16, kPanelWidth - ValueRight(3));
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(Px(16 - kRowHeight));
    const int columnWidths[] = {ValueLeft(0) - kCaptionLeft,
                                kCaptionLeft + kCaptionWidth - ValueLeft(0),
                                ValueRight(0) - (kCaptionLeft + kCaptionWidth),
                                ValueLeft(1) - ValueRight(0),
                                kWidth,
                                ValueLeft(2) - ValueRight(1),
                                kWidth,
                                ValueLeft(3) - ValueRight(2),
                                kWidth};
    for (int column = 0; column < 9; ++column)
        grid->setColumnMinimumWidth(column, Px(columnWidths[column]));
    const StatisticsTexts captions = FormatStatistics(Statistics{}, NumberFormat::UK());
    for (int i = 0; i < StatisticsRows; ++i) {
        auto* caption = new QLabel(CoreText(captions.Captions[i]), this);
        caption->setFixedHeight(Px(kRowHeight));
        grid->addWidget(caption, i, kCaptionColumn, 1, 2);
        for (int c = 0; c < 4; ++c) {
            auto* label = new QLabel(QStringLiteral("xxxxxx"), this);
            label->setObjectName(QString::fromLatin1(kPrefixes[c]) + QString::number(i + 1));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setFixedHeight(Px(kRowHeight));
            grid->addWidget(label, i, kValueColumns[c], 1, c == 0 ? 2 : 1);
            values_[i][c] = label;
        }
    }
    grid->setRowStretch(StatisticsRows, 1);
    // On the title line, outside the grid: the nine rows fill the panel, and stay as they are.
    // Sized and placed when shown.
    sawTotals_ = new QLabel(this);
    sawTotals_->setObjectName(QStringLiteral("SawTotals"));
    sawTotals_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sawTotals_->setAutoFillBackground(true);
    sawTotals_->hide();
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
