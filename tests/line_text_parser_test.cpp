#include "linefiles/line_text_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "linefiles/run_error.h"

namespace {

// The message and kind of the error ParseLineText throws for `text`.
std::string ErrorOf(const std::string& text, ErrorKind kind) {
  try {
    ParseLineText(text, "Race.txt");
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), kind) << error.what();
    return error.what();
  }
  return "no error";
}

TEST(LineTextParserTest, LayoutsOfTheSameNumbersGiveTheSameGrid) {
  const char* layouts[] = {
      "7\r\n-8.5\r\n2\r\n1,2,3,4,5\r\n6,7,8,9,10\r\n",
      "7\n-8.5\n2\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10",
      "7,-8.5,2,1,2,3,4,5,6,7,8,9,10\n",
      "\xEF\xBB\xBF  7 \r\r\n-8.5\r 2\n\n1, 2,\t3\n4,5,6\n \t\n7,8,9,10\n\n",
  };
  LineGrid expected(2);
  expected.at(1, 0) = 7;
  expected.at(2, 0) = -8.5F;
  expected.at(3, 0) = 2;
  for (int i = 0; i < 10; ++i) expected.at(4 + i / 5, i % 5) = static_cast<float>(i + 1);
  for (const char* text : layouts) {
    const ParsedLine line = ParseLineText(text, "Race.txt");
    EXPECT_EQ(line.count, 2) << text;
    EXPECT_EQ(line.grid, expected) << text;
  }
}

TEST(LineTextParserTest, RowsTheFileLacksStayZero) {
  const ParsedLine header_only = ParseLineText("1.5\n2.5\n0\n", "Race.txt");
  EXPECT_EQ(header_only.grid.last_row(), 3);
  EXPECT_EQ(header_only.grid.at(1, 0), 1.5F);
  EXPECT_EQ(header_only.grid.at(3, 0), 0.0F);

  const ParsedLine short_line = ParseLineText("0\n0\n3\n1,1,1,1,1\n2,2,2,2,2\n", "Race.txt");
  EXPECT_EQ(short_line.grid.last_row(), 6);
  EXPECT_EQ(short_line.grid.at(5, 4), 2.0F);
  for (int column = 0; column < 5; ++column) EXPECT_EQ(short_line.grid.at(6, column), 0.0F);
}

TEST(LineTextParserTest, CountIsAWholeNumberHeldAsASingle) {
  for (const char* count : {"250", "250.0", "2.5e2"}) {
    const ParsedLine line = ParseLineText(std::string("0\n0\n") + count + "\n", "Race.txt");
    EXPECT_EQ(line.count, 250) << count;
    EXPECT_EQ(line.grid.at(3, 0), 250.0F) << count;
    EXPECT_EQ(line.grid.last_row(), 253) << count;
  }
  EXPECT_EQ(ParseLineText("0\n0\n32764\n", "Race.txt").grid.last_row(), 32767);
}

TEST(LineTextParserTest, ErrorsNameTheFileTheLineAndTheItem) {
  const struct {
    const char* text;
    ErrorKind kind;
    const char* message;
  } cases[] = {
      {"", ErrorKind::kInput, "Race.txt:1: the file ends before header value A"},
      {"1\n2\n", ErrorKind::kInput, "Race.txt:2: the file ends before the count"},
      {"1\n2\n2.5\n", ErrorKind::kInput, "Race.txt:3: \"2.5\" is not a whole count"},
      {"1\n2\n32765\n", ErrorKind::kOverflow,
       "Race.txt:3: \"32765\" is beyond the counts 0 to 32764"},
      {"1\n2\n-40000\n", ErrorKind::kOverflow,
       "Race.txt:3: \"-40000\" is beyond the counts 0 to 32764"},
      {"1\n2\n-1\n", ErrorKind::kBounds, "Race.txt:3: \"-1\" is a negative count"},
      {"1\n2\n2\n1,2,3,4,5\n1,2,3,4,5\n1,2,3,4,5\n", ErrorKind::kBounds,
       "Race.txt:6: data row 3 is more than the count of 2"},
      {"1\n2\n1\n1,2,3\n\n", ErrorKind::kInput,
       "Race.txt:4: the file ends inside data row 1, after 3 of its 5 numbers"},
      {"1\n2\n1\n1,abc,3,4,5\n", ErrorKind::kInput, "Race.txt:4: \"abc\" is not a number"},
      {"1\r\n2\r\n1\r\n1,2,,4,5\r\n", ErrorKind::kInput,
       "Race.txt:4: empty item where a number should be"},
      {"1\n2\n1\n1,2,3,4,5,\n", ErrorKind::kInput,
       "Race.txt:4: empty item where a number should be"},
      {"1\n1e39\n", ErrorKind::kOverflow, "Race.txt:2: \"1e39\" is too large for single precision"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text, c.kind), c.message) << c.text;
}

}  // namespace
