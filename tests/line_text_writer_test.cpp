#include "linefiles/line_text_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "linefiles/run_error.h"

namespace {

LineGrid NumberedGrid(int count) {
  LineGrid grid(count);
  grid.at(1, 0) = 1.5F;
  grid.at(2, 0) = -2;
  grid.at(3, 0) = static_cast<float>(count);
  for (int row = 4; row <= grid.last_row(); ++row) {
    for (int column = 0; column < 5; ++column)
      grid.at(row, column) = static_cast<float>(row * 10 + column);
  }
  return grid;
}

TEST(LineTextWriterTest, WritesHeaderLinesThenCommaSeparatedRowsWithCrLf) {
  LineGrid grid = NumberedGrid(2);
  grid.at(4, 2) = 0.1F;
  grid.at(5, 4) = -1e-7F;
  EXPECT_EQ(FormatLineText(grid, 2, "Pass1.txt"),
            "1.5\r\n-2\r\n2\r\n40,41,0.1,43,44\r\n50,51,52,53,-1e-07\r\n");
  EXPECT_EQ(FormatLineText(NumberedGrid(0), 0, "Pass1.txt"), "1.5\r\n-2\r\n0\r\n");
}

TEST(LineTextWriterTest, WritesTheGivenCountOfRowsUnderTheGridsOwnCount) {
  const std::string text = FormatLineText(NumberedGrid(10), 8, "Pass1.txt");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
  EXPECT_TRUE(text.starts_with("1.5\r\n-2\r\n10\r\n40,"));
  EXPECT_TRUE(text.ends_with("\r\n110,111,112,113,114\r\n"));
}

TEST(LineTextWriterTest, MoreRowsThanTheGridHoldsIsABoundsError) {
  try {
    FormatLineText(NumberedGrid(3), 4, "Pass2.txt");
    FAIL() << "no error";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kBounds);
    EXPECT_STREQ(error.what(),
                 "Pass2.txt:7: the line has 3 data rows, fewer than the 4 to be written");
  }
}

}  // namespace
