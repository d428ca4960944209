#include "passlines/separation_move.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace {

const ErrorPlace kPlace{"Pass1.txt", 12};

TEST(SeparationMoveTest, MovesHalfwayButNoFurtherThanTheLimit) {
  const struct {
    float race, companion, limit, expected;
  } cases[] = {
      {0, 10, 4, 4},    // midpoint 5 is past the limit
      {0, -6, 4, -3},   // midpoint -3 is within it
      {0, 8, 4, 4},     // midpoint exactly at the limit is kept
      {0, -10, 4, -4},  // limited toward the companion, whichever side it is on
      {20, 2, 4, 16},   //
      {1, 2, 4, 1.5F},  //
      {5, 5, 4, 5},     // no gap, no move
      {0, 10, 0, 0},    // a zero limit keeps the race value
      {-3, 7, 2.5F, -0.5F},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(MovedSeparation(c.race, c.companion, c.limit, kPlace), c.expected)
        << c.race << " toward " << c.companion << " limit " << c.limit;
  }
}

TEST(SeparationMoveTest, SumsInDoubleSoExtremeValuesDoNotOverflow) {
  EXPECT_EQ(MovedSeparation(FLT_MAX, FLT_MAX, 4, kPlace), FLT_MAX);
  EXPECT_EQ(MovedSeparation(-FLT_MAX, FLT_MAX, FLT_MAX, kPlace), 0.0F);
}

TEST(SeparationMoveTest, AResultBeyondSinglePrecisionIsAFloatingPointError) {
  try {
    MovedSeparation(-FLT_MAX, FLT_MAX, -1e38F, kPlace);
    FAIL() << "no error";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kFloatingPoint);
    EXPECT_STREQ(error.what(),
                 "Pass1.txt:12: the limited move of race value -3.4028235e+38, companion value "
                 "3.4028235e+38 and limit -1e+38 is outside single precision");
  }
}

}  // namespace
