#include "app/preview_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/test_support.h"

namespace kelvane {

namespace {

// A font whose every character is 7 pixels wide, in lines of 14.
const TextMeasure kMeasure{[](std::string_view text) { return 7 * static_cast<int>(text.size()); },
                           14};

std::vector<std::string> TextsOf(const PlotPicture& picture) {
  std::vector<std::string> texts;
  for (const PlotText& text : picture.texts) texts.push_back(text.text);
  return texts;
}

// The meters rise in steps of 1, 2 or 5 times a power of ten, each tick at its value's
// height; the rows are numbered from 1; each line's course keeps, in each pixel column, the
// least and the greatest of the rows under it, so that a one-row spike is never lost. Why
// lines are missing is said under the frame's top, or alone where there is no line.
TEST(PreviewPlotTest, AxesAndCoursesFollowTheValues) {
  PreviewLines lines;
  lines.separations[0].assign(3000, 0.0f);
  lines.separations[0][1234] = 10;
  lines.separations[1].assign(3000, -10.0f);
  const PlotPicture picture = DrawPreview(lines, {0, 0, 500, 300}, kMeasure);
  const PlotBox& frame = picture.frame;
  const std::vector<std::string> texts = TextsOf(picture);
  for (const char* expected : {"-10 m", "-5 m", "0 m", "5 m", "10 m", "rows", "1000", "3000"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
  }
  const auto& course = picture.traces[0];
  ASSERT_EQ(course.size(), 2u * static_cast<std::size_t>(frame.width));
  const int top = std::min_element(course.begin(), course.end(), [](PlotPoint a, PlotPoint b) {
                    return a.y < b.y;
                  })->y;
  const int bottom = picture.traces[1].front().y;
  EXPECT_EQ(std::count_if(course.begin(), course.end(), [&](PlotPoint p) { return p.y == top; }),
            1);
  EXPECT_GE(top, frame.top);
  EXPECT_LE(bottom, frame.top + frame.height - 1);
  EXPECT_NEAR(course.front().y, (top + bottom) / 2.0, 1);  // 0 m halfway between 10 and -10
  EXPECT_TRUE(picture.message.text.empty());
  lines.problem = "the limit is negative";
  EXPECT_EQ(DrawPreview(lines, {0, 0, 500, 300}, kMeasure).message.box.top, frame.top + 7);
  lines.separations = {};  // with no line to show, only why
  const PlotPicture none = DrawPreview(lines, {0, 0, 500, 300}, kMeasure);
  EXPECT_TRUE(none.texts.empty() && none.message.wrap);
  EXPECT_EQ(none.message.text, lines.problem);
}

// The wheel zooms around the row under the pointer, which stays under it; a drag moves
// along the rows, never past the first or last; the view shows its rows, numbered as in
// the file, and reads out the row under the pointer.
TEST(PreviewPlotTest, ZoomsAroundThePointerAndReadsOutItsRow) {
  const PlotBox frame{100, 0, 101, 50};  // a pixel column for every hundredth of the rows
  const PlotView zoomed = ZoomedView({}, 1001, frame, 125, 0.5);
  EXPECT_EQ(zoomed.first, 125);  // row 250, a quarter across, stays a quarter across
  EXPECT_EQ(PannedView(zoomed, 1001, frame, -100).first, 500);  // dragged a frame leftward
  EXPECT_EQ(PannedView(zoomed, 1001, frame, 1000).first, 0);
  EXPECT_EQ(ZoomedView(zoomed, 1001, frame, 125, 4).last, -1);  // out to every row
  EXPECT_EQ(ZoomedView({}, 1001, frame, 200, 0.5).last, 1000);  // the last row kept at the edge
  PreviewLines lines;
  lines.separations[0] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f};
  lines.separations[1] = {1, 2, 3, 4, 5, 6};
  const int left = DrawPreview(lines, {0, 0, 400, 300}, kMeasure, {2, 4, -1}).frame.left;
  const PlotPicture some = DrawPreview(lines, {0, 0, 400, 300}, kMeasure, {2, 4, left});
  EXPECT_EQ(some.readout.text, "Row 3 (m): race 2.5, max 3");
  EXPECT_EQ(some.cursor[0].x, some.frame.left);
  EXPECT_EQ(some.traces[0].size(), 3u);
}

// The band spans race ± limit inside the frame, and each pass line is marked under the
// rows where the limit holds it back, and only there.
TEST(PreviewPlotTest, MarksWhereTheLimitHolds) {
  PreviewLines lines;
  lines.separations = {{{0, 0, 0}, {10, 2, 10}, {-1, -1, -1}, {4, 1, 4}, {-0.5, -0.5, -0.5}}};
  lines.limit = 4;
  const PlotPicture picture = DrawPreview(lines, {0, 0, 500, 300}, kMeasure);
  const PlotBox& frame = picture.frame;
  const int right = frame.left + frame.width - 1, middle = (frame.left + right + 1) / 2;
  EXPECT_EQ(picture.held_spans[0],
            (std::vector<std::array<int, 2>>{{frame.left, middle - 1}, {right, right}}));
  EXPECT_TRUE(picture.held_spans[1].empty());
  ASSERT_EQ(picture.band.size(), 6u);  // three rows up, three back
  for (const PlotPoint& point : picture.band) {
    EXPECT_TRUE(point.y >= frame.top && point.y < frame.top + frame.height) << point.y;
  }
  EXPECT_LT(picture.band[0].y, picture.traces[0][0].y);   // 4 m above the race line
  EXPECT_GT(picture.marks_y[0], picture.traces[2][0].y);  // under the lowest line
}

// Every line stands out at 3:1 at least against a light or a dark plot, as WCAG asks of
// graphics, and each pass line differs from its companion.
TEST(PreviewPlotTest, EveryLineStandsOutOnLightAndDarkPlots) {
  EXPECT_NEAR(ContrastRatio(0xE69F00, 0xFFFFFF), 2.25, 0.01);  // too faint on white
  for (const std::uint32_t background : {0xFFFFFFu, 0xF0F0F0u, 0x353535u, 0x1E1E1Eu, 0u}) {
    const std::array<std::uint32_t, 5> colours = PreviewColours(background);
    for (std::size_t line = 0; line < colours.size(); ++line) {
      EXPECT_GE(ContrastRatio(colours[line], background), 3) << background << " " << line;
    }
    EXPECT_NE(colours[3], colours[1]);
    EXPECT_NE(colours[4], colours[2]);
  }
}

// The preview says on how many rows the limit holds each pass line back, by the rule Go
// moves them by: on the sample lines at 4 m, 96 of 360 and 108; at 1000 m, none.
TEST(PreviewLinesTest, SaysWhereTheLimitHoldsThePassLines) {
  PreviewSource source;
  ASSERT_TRUE(source.Refresh(HeldFolder(KELVANE_EXAMPLES)));
  EXPECT_EQ(source.Lines("4").summary,
            "At 4 m the limit holds Pass1 on 96 of 360 rows and Pass2 on 108.");
  EXPECT_EQ(source.Lines("1000 m").summary,
            "At 1000 m the limit holds Pass1 on 0 of 360 rows and Pass2 on 0.");
  const PreviewLines lines = source.Lines("2.5");
  const PlotPicture picture = DrawPreview(lines, {0, 0, 800, 400}, kMeasure);
  const std::vector<std::string> texts = TextsOf(picture);  // the legend, then the summary
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6),
            (std::vector<std::string>{"Race.txt", "MaxRace.txt", "MinRace.txt", "Pass1.txt",
                                      "Pass2.txt", lines.summary}));
  EXPECT_LT(picture.texts[5].box.top + 14, picture.frame.top);
}

// The pass lines on disk are read as inputs are, and drawn only where they differ from what
// Go writes; the preview says which Go writes and which it replaces, and one that cannot be
// read is said, never in Go's way.
TEST(PreviewLinesTest, ShowsWhatGoReplaces) {
  const ScratchDir dir;
  for (const char* name : {"Race.txt", "MaxRace.txt", "MinRace.txt"}) {
    std::filesystem::copy_file(std::filesystem::path(KELVANE_EXAMPLES) / name, dir.path / name);
  }
  PreviewSource source;
  source.Refresh(HeldFolder(dir.path));
  EXPECT_EQ(source.Lines("4").replaces, "Go writes Pass1.txt and Pass2.txt.");
  std::filesystem::copy_file(std::filesystem::path(KELVANE_EXAMPLES) / "Pass1.txt",
                             dir.path / "Pass1.txt");  // what Go writes at 4 m
#ifdef _WIN32
  std::filesystem::create_directory(dir.path / "Pass2.txt");
#else  // a FIFO planted as a pass line never makes the preview wait
  ASSERT_EQ(mkfifo((dir.path / "Pass2.txt").c_str(), 0666), 0);
#endif
  ASSERT_TRUE(source.Refresh(HeldFolder(dir.path)));
  const PreviewLines lines = source.Lines("4");
  EXPECT_EQ(lines.replaces.substr(0, 31), "Go replaces Pass1.txt (written ");
  EXPECT_NE(lines.replaces.find(") and Pass2.txt, which on disk cannot be read: file error: "),
            std::string::npos)
      << lines.replaces;
  PreviewLines one_row = lines;  // the same as Go's, but for one row touched up by hand
  one_row.on_disk[0][100] += 1;
  EXPECT_TRUE(DrawPreview(lines, {0, 0, 800, 400}, kMeasure).on_disk[0].empty());
  EXPECT_EQ(DrawPreview(one_row, {0, 0, 800, 400}, kMeasure).on_disk[0].size(), 1u);
}

}  // namespace
}  // namespace kelvane
