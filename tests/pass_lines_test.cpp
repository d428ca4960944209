#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "passlines/compute_pass_lines.h"
#include "passlines/separation_move.h"
#include "platform/files.h"
#include "tests/test_support.h"

namespace kelvane {

namespace {

// The move, and whether the limit held it back (as the preview counts it).
TEST(PassLinesTest, MovesHalfwayButNoFurtherThanTheLimit) {
  // clang-format off
  const struct {
    float race, companion, limit, expected;
    bool held;
  } cases[] = {
      {0, 10, 4, 4, true}, {0, -6, 4, -3, false}, {0, 8, 4, 4, false} /* a midpoint at the limit is kept */,
      {0, -10, 4, -4, true}, {20, 2, 4, 16, true}, {5, 5, 4, 5, false}, {0, 10, 0, 0, true},
      {FLT_MAX, FLT_MAX, 4, FLT_MAX, false} /* sums in double do not overflow */, {-FLT_MAX, FLT_MAX, FLT_MAX, 0, false}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(MovedSeparation(c.race, c.companion, c.limit, {}), c.expected)
        << c.race << " toward " << c.companion << " limit " << c.limit;
    EXPECT_EQ(HeldByLimit(c.race, c.companion, c.limit), c.held) << c.race << " " << c.companion;
  }
}

// A line whose rows have the given separations and other columns that must pass through
// from the race line; a companion's (`other` given) has other headers and columns of its own.
std::string Line(const std::vector<std::string>& separations, const std::string& other = "") {
  std::string text = (other.empty() ? "1.25\n9\n" : other + "\n" + other + "\n") +
                     std::to_string(separations.size()) + "\n";
  for (std::size_t i = 0; i < separations.size(); ++i) {
    text += std::to_string(i) + other + ",0.5" + other + "," + separations[i] + ",-" +
            std::to_string(i) + other + ",7e-3" + other + "\n";
  }
  return text;
}

// Writes the inputs to `dir`, "" for one that is missing, and runs the job; returns its error.
std::string RunJob(const ScratchDir& dir, const std::string& race, const std::string& max,
                   const std::string& min, float limit = 4) {
  for (const auto& [name, text] :
       {std::pair{"Race.txt", race}, {"MaxRace.txt", max}, {"MinRace.txt", min}}) {
    std::filesystem::remove(dir.path / name);
    if (!text.empty()) dir.Write(name, text);
  }
  return ErrorOf([&] { ComputePassLines(dir.path, limit); });
}

TEST(ComputePassLinesTest, MovesOnlyTheSeparationOfTheRaceLine) {
  ScratchDir dir;
  ASSERT_EQ(RunJob(dir, Line({"0", "0", "100", "-2"}), Line({"10", "8", "101", "6"}, "1"),
                   Line({"-6", "-10", "90", "-2"}, "2")),
            "no error");
  EXPECT_EQ(dir.Read("Pass1.txt"),
            "1.25\r\n9\r\n4\r\n0,0.5,4,-0,0.007\r\n1,0.5,4,-1,0.007\r\n"
            "2,0.5,100.5,-2,0.007\r\n3,0.5,2,-3,0.007\r\n");
  EXPECT_EQ(dir.Read("Pass2.txt"),
            "1.25\r\n9\r\n4\r\n0,0.5,-3,-0,0.007\r\n1,0.5,-4,-1,0.007\r\n"
            "2,0.5,96,-2,0.007\r\n3,0.5,-2,-3,0.007\r\n");
  EXPECT_EQ(dir.Entries(), "MaxRace.txt MinRace.txt Pass1.txt Pass2.txt Race.txt ");
}

TEST(ComputePassLinesTest, AnyErrorLeavesBothOldOutputs) {
  ScratchDir dir;
  dir.Write("Pass1.txt", "old 1");
  dir.Write("Pass2.txt", "old 2");
  const std::string one = Line({"1"});
  // clang-format off
  const struct {
    std::string race, max, min;
    float limit;
    std::string report;
  } cases[] = {
      {one, one, Line({"1", "2"}), 4, "input error: the counts differ: Race.txt has 1, MaxRace.txt has 1, MinRace.txt has 2; all three must be equal"},
      {one, Line({"1", "2"}), one, 4, "input error: the counts differ: Race.txt has 1, MaxRace.txt has 2, MinRace.txt has 1; all three must be equal"},
      {Line({"1", "2"}), one, one, 4, "input error: the counts differ: Race.txt has 2, MaxRace.txt has 1, MinRace.txt has 1; all three must be equal"},
      {"", one, one, 4, "file error: " + DisplayPath(dir.path) + ": missing input file(s): Race.txt"},
      {one, one, "1\n2\n1\n1,2,x,4,5\n", 4, "input error: MinRace.txt:4: \"x\" is not a number"},
      {Line({"-3e38"}), Line({"-3e38"}), Line({"3e38"}), -2e38F, "floating-point error: Pass2.txt:4: the limited move of race value -3e+38, companion value 3e+38 and limit -2e+38 is outside single precision"}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(RunJob(dir, c.race, c.max, c.min, c.limit), c.report);
    EXPECT_EQ(dir.Read("Pass1.txt") + dir.Read("Pass2.txt"), "old 1old 2");
  }
  // A pass line that is another name of an input, as a tar can make it, would overwrite it.
  RunJob(dir, one, one, one);
  for (const char* pass : {"Pass1.txt", "Pass2.txt"}) {
    for (const char* input : {"Race.txt", "MaxRace.txt", "MinRace.txt"}) {
      std::filesystem::rename(dir.path / pass, dir.path / "kept");
      std::filesystem::create_hard_link(dir.path / input, dir.path / pass);
      EXPECT_EQ(ErrorOf([&] { ComputePassLines(dir.path, 4); }),
                "file error: " + DisplayPath(dir.path / pass) + ": is the same file as " + input +
                    "; a pass line must be a file of its own");
      EXPECT_EQ(dir.Read(input), one);
      std::filesystem::rename(dir.path / "kept", dir.path / pass);
    }
  }
}

// Whatever a folder's names lead to, a run takes nothing but what is its pass lines': never
// another file of the user's, a name the run itself uses, or a file with names elsewhere.
TEST(ComputePassLinesTest, ANameLeadsOnlyToWhatIsThatPassLines) {
  const std::string links = "is a symbolic link to ",
                    ours = ", a name a run writes itself, so it is not followed";
  const struct {
    const char* name;  // of a pass line, or an input, and where it leads ("=" a hard link)
    const char* to;
    std::string report;  // after "<path of name>: ", or "" where the run succeeds
  } cases[] = {
#ifndef _WIN32
      {"Pass1.txt", "report.odt",
       links + "report.odt and holds no line file, so Go does not write it: Pass1.txt:1: "
               "\"report\" is not a number"},
      {"Pass1.txt", "Pass2.txt", links + "Pass2.txt" + ours},
      {"Pass1.txt", ".Pass1.txt.journal", links + ".Pass1.txt.journal" + ours},
      {"Race.txt", ".Pass1.txt.old-aaaaaaaa", links + ".Pass1.txt.old-aaaaaaaa" + ours},
      {"Pass2.txt", "notes", ""},  // named after Pass2.txt, its temporaries leave .notes.old-* be
#endif
      {"Pass1.txt", "=keep/data.txt",
       "has 2 names (hard links), some outside its folder, so it is not written: a file with other "
       "names is written only where all of them are in its folder"},
      {"Pass1.txt", "=report.odt",
       "has other names (hard links) and holds no line file, so Go does not write it: "
       "Pass1.txt:1: \"report\" is not a number"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.path / "keep");
    for (const char* name : {"Race.txt", "MaxRace.txt", "MinRace.txt", "keep/data.txt"}) {
      dir.Write(name, Line({"1"}));
    }
    dir.Write("report.odt", "report");
    dir.Write(".notes.old-abcdefgh", "mine");
    if (std::filesystem::exists(dir.path / c.name)) rename(dir.path / c.name, dir.path / c.to);
    c.to[0] == '=' ? create_hard_link(dir.path / (c.to + 1), dir.path / c.name)
                   : create_symlink(c.to, dir.path / c.name);
    const auto files = [&] {
      return dir.Entries() + dir.Read("report.odt") + dir.Read(".notes.old-abcdefgh") +
             dir.Read(".Pass1.txt.old-aaaaaaaa") + dir.Read("keep/data.txt");
    };
    const std::string before = files();
    const std::string report =
        c.report.empty() ? "no error"
                         : "file error: " + DisplayPath(dir.path / c.name) + ": " + c.report;
    EXPECT_EQ(ErrorOf([&] { ComputePassLines(dir.path, 2); }), report) << c.name << " " << c.to;
    if (c.report.empty()) {
      EXPECT_EQ(dir.Read("notes") + dir.Read(".notes.old-abcdefgh"),
                dir.Read("Pass2.txt") + "mine");
    } else {
      EXPECT_EQ(files(), before) << c.name << " " << c.to;
    }
  }
}

}  // namespace
}  // namespace kelvane
