#include "passlines/compute_pass_lines.h"

#include <gtest/gtest.h>

#include <QDir>
#include <string>

#include "linefiles/globals.h"
#include "linefiles/run_error.h"
#include "tests/scratch_dir.h"

namespace {

// Rows of five with the given separations and other columns that must pass through.
std::string Line(const std::string& header_b, const std::vector<std::string>& separations,
                 int count = -1) {
  if (count < 0) count = static_cast<int>(separations.size());
  std::string text = "1.25\n" + header_b + "\n" + std::to_string(count) + "\n";
  for (std::size_t i = 0; i < separations.size(); ++i) {
    const std::string n = std::to_string(i);
    text += n + ",0.5," + separations[i] + ",-" + n + ",7e-3\n";
  }
  return text;
}

class ComputePassLinesTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("Pass1.txt", "old pass 1");
    dir_.Write("Pass2.txt", "old pass 2");
  }

  void WriteInputs(const std::string& race, const std::string& max, const std::string& min) {
    for (const auto& [name, text] :
         {std::pair{"Race.txt", race}, {"MaxRace.txt", max}, {"MinRace.txt", min}}) {
      if (text.empty()) {
        QFile::remove(dir_.Path(name));
      } else {
        dir_.Write(name, text);
      }
    }
  }

  // Runs the job; returns its error message, or "" when it succeeds.
  std::string Run(float limit) {
    fields_.MaxSeparation = limit;
    try {
      ComputePassLines(fields_);
    } catch (const RunError& error) {
      return error.Report();
    }
    return "";
  }

  void ExpectOldOutputs() {
    EXPECT_EQ(dir_.Read("Pass1.txt"), "old pass 1");
    EXPECT_EQ(dir_.Read("Pass2.txt"), "old pass 2");
    EXPECT_EQ(dir_.Entries().filter("Pass").size(), 2) << dir_.Entries().join(" ").toStdString();
  }

  ScratchDir dir_;
  PassLineFields fields_;
};

TEST_F(ComputePassLinesTest, MovesOnlyTheSeparationOfTheRaceLine) {
  WriteInputs(Line("9", {"0", "0", "100", "-2"}), Line("8", {"10", "8", "101", "6"}),
              Line("7", {"-6", "-10", "90", "-2"}));
  ASSERT_EQ(Run(4), "");
  EXPECT_EQ(dir_.Read("Pass1.txt"),
            "1.25\r\n9\r\n4\r\n0,0.5,4,-0,0.007\r\n1,0.5,4,-1,0.007\r\n"
            "2,0.5,100.5,-2,0.007\r\n3,0.5,2,-3,0.007\r\n");
  EXPECT_EQ(dir_.Read("Pass2.txt"),
            "1.25\r\n9\r\n4\r\n0,0.5,-3,-0,0.007\r\n1,0.5,-4,-1,0.007\r\n"
            "2,0.5,96,-2,0.007\r\n3,0.5,-2,-3,0.007\r\n");
  EXPECT_EQ(dir_.Entries(),
            QStringList({"MaxRace.txt", "MinRace.txt", "Pass1.txt", "Pass2.txt", "Race.txt"}));
  ASSERT_TRUE(SharedGrid && fields_.Pass2Grid);
  EXPECT_EQ(*SharedGrid, *fields_.Pass2Grid);
}

TEST_F(ComputePassLinesTest, RowsMissingFromEveryFileStayZero) {
  const std::string short_line = Line("0", {"3"}, 2);
  WriteInputs(short_line, short_line, short_line);
  ASSERT_EQ(Run(4), "");
  EXPECT_EQ(dir_.Read("Pass1.txt"), "1.25\r\n0\r\n2\r\n0,0.5,3,-0,0.007\r\n0,0,0,0,0\r\n");
}

TEST_F(ComputePassLinesTest, AnErrorBeforeWritingLeavesTheOldOutputs) {
  const std::string one = Line("0", {"1"});
  const std::string five = Line("0", {"1", "2", "3", "4", "5"});
  const std::string dir = QDir(dir_.Path("")).absolutePath().toStdString();
  const struct {
    std::string race, max, min;  // "" for a missing file
    float limit;
    std::string error;
  } cases[] = {
      {one, "", "", 4, "file error: " + dir + ": missing input file(s): MaxRace.txt, MinRace.txt"},
      {five, five, Line("0", {"1", "2", "3"}), 4,
       "input error: the counts differ: Race.txt has 5, MaxRace.txt has 5, MinRace.txt has 3; "
       "all three must be equal"},
      {one, one, "1\n2\n1\n1,2,x,4,5\n", 4, "input error: MinRace.txt:4: \"x\" is not a number"},
      // Only a negative limit can push a value past the far side of the race line.
      {Line("0", {"-3e38"}), Line("0", {"-3e38"}), Line("0", {"3e38"}), -2e38F,
       "floating-point error: Pass2.txt:4: the limited move of race value -3e+38, companion "
       "value 3e+38 and limit -2e+38 is outside single precision"},
  };
  for (const auto& c : cases) {
    WriteInputs(c.race, c.max, c.min);
    EXPECT_EQ(Run(c.limit), c.error);
    ExpectOldOutputs();
  }
}

TEST_F(ComputePassLinesTest, AnOutputThatCannotBeWrittenLeavesBothOldOutputs) {
  WriteInputs(Line("0", {"1"}), Line("0", {"1"}), Line("0", {"1"}));
  ASSERT_TRUE(QFile::remove(dir_.Path("Pass2.txt")));
  ASSERT_TRUE(QDir().mkdir(dir_.Path("Pass2.txt")));
  const std::string error = Run(4);
  EXPECT_TRUE(
      error.starts_with("file error: " + dir_.Path("Pass2.txt").toStdString() + ": cannot be "))
      << error;
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old pass 1");
  EXPECT_EQ(dir_.Entries().size(), 5) << dir_.Entries().join(" ").toStdString();
}

}  // namespace
