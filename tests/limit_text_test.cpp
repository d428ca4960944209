#include "window/limit_text.h"

#include <gtest/gtest.h>

namespace {

TEST(LimitTextTest, TakesTheLongestLeadingDecimalNumber) {
  const struct {
    const char* text;
    float meters;
  } cases[] = {
      {"4", 4},      {"2.5 m", 2.5F}, {"2,5", 2},        {"  \t7", 7}, {"+3", 3},
      {"0", 0},      {".5", 0.5F},    {"5.", 5},         {"1e1", 10},  {"1e", 1},
      {"1e+1x", 10}, {"0x10", 0},     {"3.25.1", 3.25F}, {"1e-60", 0}, {"0.1", 0.1F},
  };
  for (const auto& c : cases) {
    const LimitReading reading = ReadLimitText(c.text);
    EXPECT_EQ(reading.problem, LimitProblem::kNone) << c.text;
    EXPECT_EQ(reading.meters, c.meters) << c.text;
  }
}

TEST(LimitTextTest, RefusesWhatIsNoUsableLimit) {
  const struct {
    const char* text;
    LimitProblem problem;
  } cases[] = {
      {"", LimitProblem::kNotANumber},    {"abc", LimitProblem::kNotANumber},
      {" ", LimitProblem::kNotANumber},   {"m 4", LimitProblem::kNotANumber},
      {"inf", LimitProblem::kNotANumber}, {"nan", LimitProblem::kNotANumber},
      {".", LimitProblem::kNotANumber},   {"-", LimitProblem::kNotANumber},
      {"-3", LimitProblem::kNegative},    {"-0.001", LimitProblem::kNegative},
      {"1e39", LimitProblem::kTooLarge},  {"4e38 m", LimitProblem::kTooLarge},
      {"1e999", LimitProblem::kTooLarge},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLimitText(c.text).problem, c.problem) << c.text;
    EXPECT_FALSE(RefusalMessage(c.problem).empty());
  }
}

}  // namespace
