#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <string>
#include <vector>

#include "linefiles/line_file.h"
#include "linefiles/line_text_parser.h"
#include "tests/test_support.h"

namespace kelvane {

namespace {

using namespace std::string_literals;

TEST(LineTextTest, ReadsEachNumberAsTheNearestSingle) {
  // clang-format off
  const struct {
    const char* text;
    float value;
  } cases[] = {
      {"+2.5", 2.5F}, {"-0", -0.0F}, {".5", 0.5F}, {"5.", 5.0F}, {"1E-3", 1e-3F}, {"0.1", 0.1F},
      {"1e+10", 1e10F}, {"3.4028235e38", FLT_MAX}, {"1.4e-45", 0x1p-149F}, {"7e-46", 0.0F},
      {"-1e-999999999999999999999", -0.0F}, {"16777217", 16777216.0F}};
  // clang-format on
  for (const auto& c : cases) {
    const float value = ParseLineText(c.text + "\n0\n0\n"s, "Race.txt").at(1, 0);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(c.value)) << c.text;
  }
}

TEST(LineTextTest, LayoutsLineEndsAndEncodingsGiveTheSameGrid) {
  // clang-format off
  const std::string layouts[] = {
      "7\r\n-8.5\r\n2\r\n1,2,3,4,5\r\n6,7,8,9,10\r\n",
      "7\n-8.5\n2\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10",
      "7,-8.5,2,1,2,3,4,5,6,7,8,9,10\n\x1A",
      "\xEF\xBB\xBF  7 \r\r\n-8.5\r 2\n\n1, 2,\t3\n4,5,6\n \t\n7,8,9,10\n\n",
      "\xFF\xFE" "7\0\r\0\n\0-\0" "8\0.\0" "5\0,\0" "2\0,\0" "1\0,\0" "2\0,\0" "3\0,\0" "4\0,\0" "5\0,\0"
          "6\0,\0" "7\0,\0" "8\0,\0" "9\0,\0" "1\0" "0\0"s,
      "\xFE\xFF\0" "7\0,\0-\0" "8\0.\0" "5\0,\0" "2\0,\0" "1\0,\0" "2\0,\0" "3\0,\0" "4\0,\0" "5\0,\0"
          "6\0,\0" "7\0,\0" "8\0,\0" "9\0,\0" "1\0" "0\0\x1A"s};
  // clang-format on
  LineGrid expected(2);
  expected.at(1, 0) = 7;
  expected.at(2, 0) = -8.5F;
  for (int i = 0; i < 10; ++i) expected.at(4 + i / 5, i % 5) = static_cast<float>(i + 1);
  const std::vector<int> starts[] = {{4, 5}, {4, 9}, {1, 1}, {6, 7}, {2, 2}, {1, 1}};  // each row's
  for (std::size_t i = 0; i < std::size(layouts); ++i) {
    std::vector<int> lines;
    EXPECT_EQ(ParseLineText(layouts[i], "Race.txt", &lines), expected);
    EXPECT_EQ(lines, starts[i]) << i;
    KeepSameLines(lines, starts[0]);  // where every file has it
    EXPECT_EQ(lines, (std::vector<int>{i < 2 ? 4 : 0, i == 0 ? 5 : 0})) << i;
  }
  const LineGrid short_line = ParseLineText("0\n0\n3.0\n1,1,1,1,1\n", "Race.txt");
  EXPECT_EQ(short_line.at(3, 0), 3);
  EXPECT_EQ(short_line.at(6, 4), 0);  // missing rows stay 0
  EXPECT_EQ(ParseLineText("0\n0\n3", "Race.txt"), ParseLineText("0\n0\n3\n", "Race.txt"));
}

TEST(LineTextTest, ErrorsNameTheKindFileLineAndItem) {
  const std::string long_item(1000000, '9');
  // clang-format off
  const struct {
    std::string text, report;
  } cases[] = {
      {"", "input error: Race.txt:1: the file ends before header value A"},
      {"1\n2\n", "input error: Race.txt:2: the file ends before the count"},
      {"1\n2\n2.5\n", "input error: Race.txt:3: \"2.5\" is not a whole count"},
      {"1\n2\n32765\n", "overflow error: Race.txt:3: \"32765\" is beyond the counts 0 to 32764"},
      {"1\n2\n-40000\n", "overflow error: Race.txt:3: \"-40000\" is beyond the counts 0 to 32764"},
      {"1\n2\n-1\n", "bounds error: Race.txt:3: \"-1\" is a negative count"},
      {"1\n2\n1\n1,2,3,4,5\n\n1\n", "bounds error: Race.txt:6: data row 2 is more than the count of 1"},
      {"1\n2\n1\n1,2,3\n\n", "input error: Race.txt:4: the file ends inside data row 1, after 3 of its 5 numbers"},
      {"1\n2\n1\n1,2,3,4,x", "input error: Race.txt:4: \"x\" is not a number"},
      {"\xFF\xFE" "1\0\n\0\x3C\xD8" "2\0\n"s,  // a lone surrogate, an odd last byte
       "input error: Race.txt:2: \"\\xEF\\xBF\\xBD2\\xEF\\xBF\\xBD\" is not a number"},
      {"\xFF\xFE" "1\0\n\0\x3C\xD8\xC1\xDF"s, "input error: Race.txt:2: \"\\xF0\\x9F\\x8F\\x81\" is not a number"},
      {"1\r\n2\r\n1\r\n1,2,,4,5\r\n", "input error: Race.txt:4: empty item where a number should be"},
      {"1\n2\n1\n1,2,3,4,5,\n", "input error: Race.txt:4: empty item where a number should be"},
      {"1\n1e39\n", "overflow error: Race.txt:2: \"1e39\" is too large for single precision"},
      {"1\n2\n1\n1,2,-1e39 ,4,5\n", "overflow error: Race.txt:4: \"-1e39\" is too large for single precision"},
      {"1\n2\n1\n1,2 3,3,4,5\n", "input error: Race.txt:4: \"2 3\" is not a number"},
      {"1\n2\n1\n1,2,3,4,5e\n", "input error: Race.txt:4: \"5e\" is not a number"},
      {"inf\n", "input error: Race.txt:1: \"inf\" is not a number"},
      {"1\n2\n1\n1,<b>x</b>\\,3,4,5\n", "input error: Race.txt:4: \"<b>x</b>\\x5C\" is not a number"},
      {"1\n2\n3\0\n"s, "input error: Race.txt:3: \"3\\x00\" is not a count"},
      {"1\n\xC2\xA0\x32\n", "input error: Race.txt:2: \"\\xC2\\xA0\x32\" is not a number"},
      {"\xFF\xFE" "1\0\n\0\xE9\0"s, "input error: Race.txt:2: \"\\xC3\\xA9\" is not a number"},
      {"1\n2\n0\n" + long_item + "x\n", "input error: Race.txt:4: \"" + long_item.substr(0, 40) +
                                            "\xE2\x80\xA6\" (1000001 characters) is not a number"}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { ParseLineText(c.text, "Race.txt"); }), c.report)
        << c.text.substr(0, 80);
  }
}

}  // namespace
}  // namespace kelvane
