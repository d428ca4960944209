#include "window/limit_text.h"

#include <gtest/gtest.h>

namespace {

TEST(LimitTextTest, TakesTheLeadingNumberOrSaysWhyNot) {
  constexpr auto kNone = LimitProblem::kNone;
  const struct {
    const char* text;
    float meters;
    LimitProblem problem;
  } cases[] = {
      {"4", 4, kNone},
      {"2.5 m", 2.5F, kNone},
      {"2,5", 2, kNone},
      {" \t\r\n7", 7, kNone},
      {"\xC2\xA0\xE2\x80\x83\xE3\x80\x80\xEF\xBB\xBF"
       "3",
       3, kNone},  // Unicode spaces
      {"+3", 3, kNone},
      {".5", 0.5F, kNone},
      {"1e", 1, kNone},
      {"1e+1x", 10, kNone},
      {"0x10", 0, kNone},
      {"3.25.1", 3.25F, kNone},
      {"1e-60", 0, kNone},
      {"", 0, LimitProblem::kNotANumber},
      {" ", 0, LimitProblem::kNotANumber},
      {"m 4", 0, LimitProblem::kNotANumber},
      {"inf", 0, LimitProblem::kNotANumber},
      {"-", 0, LimitProblem::kNotANumber},
      {".", 0, LimitProblem::kNotANumber},
      {"\xC2\xA0", 0, LimitProblem::kNotANumber},
      {"-0.001", 0, LimitProblem::kNegative},
      {"4e38 m", 0, LimitProblem::kTooLarge},
      {"1e999", 0, LimitProblem::kTooLarge},
  };
  for (const auto& c : cases) {
    const LimitReading reading = ReadLimitText(c.text);
    EXPECT_EQ(reading.problem, c.problem) << c.text;
    EXPECT_EQ(reading.meters, c.meters) << c.text;
    EXPECT_EQ(RefusalMessage(c.problem).empty(), c.problem == kNone) << c.text;
  }
}

}  // namespace
