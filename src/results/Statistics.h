#pragma once

#include <array>
#include <functional>
#include <string>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"

namespace tallora {

inline constexpr int StatisticsRows = 9;

// The nine rows of result figures, in metres (feet in an imperial job), percent of the stock used,
// money and kilograms, with the sums they come from.
struct Statistics {
    std::array<double, StatisticsRows> StatMetres{};
    std::array<double, StatisticsRows> StatPercent{};
    std::array<double, StatisticsRows> StatCost{};
    std::array<double, StatisticsRows> StatWeight{};

    long long StockUsedLength = 0;  // bars used at their entered lengths, mm
    long long BarsUsedTotal = 0;
    long long OffcutTotal = 0;  // mm
    long long OffcutBars = 0;
    long long UnallocatedLength = 0;  // pieces left over, with kerf, mm
    double KerfMetres = 0.0;
    double TrimMetres = 0.0;
    double HoldMetres = 0.0;
    double ScrapMetres = 0.0;
};

// Row numbers (from 0) of the figures other parts read.
inline constexpr int StockBarsUsedRow = 0;
inline constexpr int CutPiecesRow = 1;
inline constexpr int ChargeableMaterialRow = 8;

// Brings a result up to the allowances in force: classifies each pattern's remnant as offcut or
// scrap (left as it was when all waste is scrapped), counts the bars used of each input stock
// row, and keeps only the live rows of the tables left with the pieces they hold.
void ApplyAllowances(const Allowances& allowances, CalculationResult& result);

// The figures of a result whose allowances were applied, priced with the section data.
Statistics CompileStats(const JobInput& input, const CalculationResult& result);

// The panel's label texts.
struct StatisticsTexts {
    std::array<std::string, StatisticsRows> Captions;
    std::array<std::string, StatisticsRows> Metres;   // "12.000m", "39.37ft"
    std::array<std::string, StatisticsRows> Percent;  // "91.67%"
    std::array<std::string, StatisticsRows> Cost;     // currency
    std::array<std::string, StatisticsRows> Weight;   // "120.000kg"
    NumberFormat Format;                              // the one the texts are written in
    // The language they are shown in, for the texts of what is made from them (the PDF report's
    // headings and cutting list lines): none is English.
    std::function<std::string(const std::string& english)> Translate;
};

// Metres and kilograms; feet and pounds, two decimals, in an imperial job.
StatisticsTexts FormatStatistics(const Statistics& stats, const NumberFormat& format,
                                 const JobUnits& units = {});

}  // namespace tallora
