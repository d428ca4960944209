#include "app/limit_text.h"

#include <gtest/gtest.h>

namespace kelvane {

namespace {

TEST(LimitTextTest, TakesTheLeadingNumberOrSaysWhyNot) {
  constexpr auto kOk = LimitProblem::kNone, kNaN = LimitProblem::kNotANumber,
                 kComma = LimitProblem::kDecimalComma, kNegative = LimitProblem::kNegative,
                 kTooLarge = LimitProblem::kTooLarge;
  // clang-format off
  const struct {
    const char* text;
    float meters;
    LimitProblem problem;
  } cases[] = {
      {"4", 4, kOk}, {"2.5 m", 2.5F, kOk}, {"2,9", 0, kComma}, {"-1,0", 0, kComma},
      {"2, 5", 2, kOk}, {"2,", 2, kOk}, {" \t\r\n7", 7, kOk}, {"+3", 3, kOk},
      {"\xC2\xA0\xE2\x80\x83\xE3\x80\x80\xEF\xBB\xBF\x33", 3, kOk}, {".5", 0.5F, kOk},
      {"1e", 1, kOk}, {"1e+1x", 10, kOk}, {"0x10", 0, kOk}, {"3.25.1", 3.25F, kOk},
      {"1e-60", 0, kOk}, {"", 0, kNaN}, {" ", 0, kNaN}, {"m 4", 0, kNaN}, {"inf", 0, kNaN},
      {"-", 0, kNaN}, {".", 0, kNaN}, {"-.", 0, kNaN}, {"\xC2\xA0", 0, kNaN}, {"-0.001", 0, kNegative},
      {"4e38 m", 0, kTooLarge}, {"1e999", 0, kTooLarge}, {"35E9223372036854775807", 0, kTooLarge}};
  // clang-format on
  for (const auto& c : cases) {
    const LimitReading reading = ReadLimitText(c.text);
    EXPECT_EQ(reading.problem, c.problem) << c.text;
    EXPECT_EQ(reading.meters, c.meters) << c.text;
  }
}

}  // namespace
}  // namespace kelvane
