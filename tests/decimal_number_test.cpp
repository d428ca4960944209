#include "linefiles/decimal_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <random>
#include <string>

namespace {

TEST(DecimalNumberTest, ReadsTheNearestSingle) {
  const struct {
    const char* text;
    float value;
  } cases[] = {
      {"1", 1.0F},
      {"+2.5", 2.5F},
      {"-0", -0.0F},
      {".5", 0.5F},
      {"5.", 5.0F},
      {"1e+10", 1e10F},
      {"1E-3", 1e-3F},
      {"0.1", 0.1F},
      {"3.4028235e38", FLT_MAX},
      {"1.4e-45", 0x1p-149F},  // the smallest subnormal
      {"7e-46", 0.0F},         // below half of it: rounds to zero, not an error
      {"-1e-50", -0.0F},
  };
  for (const auto& c : cases) {
    float value = 99;
    EXPECT_EQ(ParseDecimal(c.text, value), DecimalStatus::kOk) << c.text;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(c.value)) << c.text;
  }
}

TEST(DecimalNumberTest, RefusesWhatIsNotADecimalNumber) {
  for (const char* text : {"", "abc", "inf", "-inf", "nan", "0x1A", "1e", "1.2.3", "+-1", "--1",
                           " 1", "1 ", "1,5", "\"1\"", ".", "e5"}) {
    float value = 99;
    EXPECT_EQ(ParseDecimal(text, value), DecimalStatus::kNotNumber) << text;
    EXPECT_EQ(value, 99) << text;
  }
}

TEST(DecimalNumberTest, TellsTooLargeFromTooSmall) {
  for (const char* text : {"1e39", "-3.5e38", "3.40282357e38", "1e999999999999999999999",
                           "0.001e42", "35E9223372036854775807"}) {
    float value = 0;
    EXPECT_EQ(ParseDecimal(text, value), DecimalStatus::kTooLarge) << text;
  }
  double count = 1;
  for (const char* text : {"1e-999999999999999999999", "0.5e-9223372036854775808"}) {
    EXPECT_EQ(ParseDecimal(text, count), DecimalStatus::kOk) << text;
    EXPECT_EQ(count, 0.0) << text;
  }
}

TEST(DecimalNumberTest, EverySingleSurvivesWritingAndReading) {
  std::mt19937 random(20261206);
  std::uniform_int_distribution<std::uint32_t> bits;
  for (int i = 0; i < 200000; ++i) {
    const auto original = std::bit_cast<float>(bits(random));
    if (!std::isfinite(original)) continue;
    std::string text;
    AppendDecimal(text, original);
    float back = 0;
    ASSERT_EQ(ParseDecimal(text, back), DecimalStatus::kOk) << text;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(original)) << text;
  }
}

}  // namespace
