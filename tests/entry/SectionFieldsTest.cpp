// The weight and cost fields: what a text may be, and what a calculation writes back.
#include "entry/SectionFields.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

const NumberFormat uk = NumberFormat::UK();

TEST(SectionFields, TextsFromZeroToTheLargestFigureAreNumbersAndOthersSayWhyNot) {
    const std::vector<std::pair<std::string, std::string>> weights = {
        {"", ""},
        {"0", ""},
        {"0.5", ""},
        {"9999.999", ""},
        {"-0.5", "is less than 0"},
        {"10000", "is more than 9999.999"},
        {"heavy", "is not a number"},
    };
    for (const auto& [text, problem] : weights) {
        EXPECT_EQ(WeightTextProblem(text, uk), problem) << text;
        EXPECT_EQ(ReadWeightText(text, uk).has_value(), problem.empty()) << text;
    }
    EXPECT_EQ(ReadWeightText("", uk), 0.0);
    EXPECT_EQ(ReadWeightText("0.5", uk), 0.5);
    EXPECT_EQ(CostTextProblem("100000", uk), "is more than 99999.99");
    EXPECT_EQ(CostTextProblem("\u00A30.25", uk), "");
    EXPECT_EQ(ReadCostText("\u00A30.25", uk), 0.25);
}

}  // namespace
}  // namespace tallora
