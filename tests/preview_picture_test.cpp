#include "app/preview_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/test_support.h"
#include "tests/window_preview_checks.h"

namespace kelvane {

namespace {

// A font whose every character is 7 pixels wide, in lines of 14.
const TextMeasure kMeasure{[](std::string_view text) { return 7 * static_cast<int>(text.size()); },
                           14};

// The meters rise in steps of 1, 2 or 5 times a power of ten, each tick at its value's
// height; the rows are numbered from 1; each line's course keeps, in each pixel column, the
// least and the greatest of the rows under it, so that a one-row spike is never lost. Why
// the pass lines are missing is said in the summary's place, wrapped, above the lines, the
// legend naming all five still.
TEST(PreviewPictureTest, AxesAndCoursesFollowTheValues) {
  PreviewLines lines;
  lines.separations[0].assign(3000, 0.0f);
  lines.separations[0][1234] = 10;
  lines.separations[1].assign(3000, -10.0f);
  const PreviewPicture picture = LayOutPreview(lines, {0, 0, 500, 300}, kMeasure);
  const Box& frame = picture.frame;
  const std::vector<std::string> texts = TextsOf(picture.primitives);
  for (const char* expected : {"-10 m", "-5 m", "0 m", "5 m", "10 m", "rows", "1000", "3000"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
  }
  const std::vector<Point> course = Course(picture.primitives, Ink::kRace);
  ASSERT_EQ(course.size(), static_cast<std::size_t>(frame.width) + 1);  // two in the spike's column
  const int top =
      std::min_element(course.begin(), course.end(), [](Point a, Point b) { return a.y < b.y; })->y;
  const int bottom = Course(picture.primitives, Ink::kMax).front().y;
  EXPECT_EQ(std::count_if(course.begin(), course.end(), [&](Point p) { return p.y == top; }), 1);
  EXPECT_GE(top, frame.top);
  EXPECT_LE(bottom, frame.top + frame.height - 1);
  EXPECT_NEAR(course.front().y, (top + bottom) / 2.0, 1);  // 0 m halfway between 10 and -10
  lines.problem = "the limit is negative, so Go would refuse it and no pass line can be shown";
  const PreviewPicture refused = LayOutPreview(lines, {0, 0, 500, 300}, kMeasure);
  const std::vector<Primitive> said = Only(refused.primitives, Shape::kText, Ink::kText);
  EXPECT_EQ(said[4].text + "|" + said[5].text + "|" + said[6].text,  // 486 px wide
            "Pass2.txt|the limit is negative, so Go would refuse it and no pass line can be|shown");
  EXPECT_LT(said[6].box.top + 14, refused.frame.top);
}

// The wheel zooms around the row under the pointer, which stays under it; a drag moves
// along the rows, never past the last. The readout writes values to the millimetre.
TEST(PreviewPictureTest, ZoomsAroundThePointerAndReadsOutItsRow) {
  const Box frame{100, 0, 101, 50};  // a pixel column for every tenth of the rows
  const PlotView zoomed = WheeledView({}, 1001, frame, 125, true);
  EXPECT_EQ(zoomed.first, 50);  // row 250, a quarter across, stays a quarter across
  EXPECT_EQ(PannedView(zoomed, 1001, frame, -10).first, 130);        // a tenth of 800 rows on
  EXPECT_EQ(PannedView(zoomed, 1001, frame, -100).first, 200);       // dragged to the last row
  EXPECT_EQ(WheeledView(zoomed, 1001, frame, 125, false).last, -1);  // out to every row
  EXPECT_EQ(WheeledView({}, 1001, frame, 200, true).last, 1000);  // the last row kept at the edge
  EXPECT_EQ(WheeledView({0, 150, -1}, 300, {0, 0, 400, 50}, 200, false).first, 0);  // not before
  for (int width = 400; width < 1400; width += 7) {  // each row with columns of its own: exactly
    const Box wide{0, 0, width, 50};
    for (int x = width / 8; x < width * 7 / 8; x += 37) {
      const PlotView in = WheeledView({}, 300, wide, x, true);
      EXPECT_EQ(
          RowColumns(300, wide).Row(x),
          std::size_t(in.first) + RowColumns(std::size_t(in.last - in.first + 1), wide).Row(x));
    }
  }
  for (const auto& [metres, text] :
       {std::pair{5.2469997f, "5.247"}, {-0.89199996f, "-0.892"}, {9.3f, "9.3"}, {-0.0004f, "0"}}) {
    EXPECT_EQ(Millimetres(metres), text);  // as the readout writes them
  }
}

// The lines, the marks, the rows' ticks, the cursor and the readout take each row to one
// pixel column: with 3 to 40 rows, 1,000 and 32,764, in plots 300 to 320 px wide, a
// one-row spike of the max line, which the limit holds back, peaks in its row's column and
// is marked from there, the pointer there stands on it and reads it out, and each row's
// number stands under its column.
TEST(PreviewPictureTest, EveryPartPutsARowInOneColumn) {
  std::vector<std::size_t> counts = {1000, 32764};
  for (std::size_t count = 3; count <= 40; ++count) counts.push_back(count);
  for (const std::size_t count : counts) {
    for (int width = 300; width <= 320; ++width) {
      const std::string at = std::to_string(count) + " rows, " + std::to_string(width) + " px";
      PreviewLines lines;  // the min line's two rows fix the range
      lines.separations = {std::vector<float>(count), std::vector<float>(count), {10, -10}};
      lines.limit = 4;
      const RowColumns& columns = LayOutPreview(lines, {0, 0, width, 200}, kMeasure).columns;
      std::set<int> spikes;
      for (int x = 0; x < width; x += 37) {
        lines.separations[1][columns.Row(x)] = 10;
        spikes.insert(columns.Column(columns.Row(x)));
      }
      const PreviewPicture picture = LayOutPreview(lines, {0, 0, width, 200}, kMeasure);
      const Box& frame = picture.frame;
      EXPECT_EQ(columns.Column(0), frame.left) << at;
      EXPECT_EQ(columns.Column(count - 1), frame.left + frame.width - 1) << at;
      std::set<int> peaks;
      for (const Point& point : Course(picture.primitives, Ink::kMax)) {
        if (point.y < frame.top + frame.height / 4) peaks.insert(point.x);
      }
      EXPECT_EQ(peaks, spikes) << at;
      for (const Primitive& primitive : picture.primitives) {
        if (primitive.shape == Shape::kBox && primitive.ink == Ink::kPass1) {
          EXPECT_TRUE(spikes.contains(primitive.box.left)) << at;
        }
        if (primitive.shape != Shape::kText || primitive.box.top != frame.top + frame.height + 4 ||
            primitive.text == "rows") {
          continue;
        }
        const auto row = static_cast<std::size_t>(std::stoi(primitive.text) - 1);
        const Box& area = picture.primitives.front().box;  // centred, unless it would leave it
        EXPECT_TRUE(primitive.box.left + primitive.box.width / 2 == columns.Column(row) ||
                    primitive.box.left + primitive.box.width == area.left + area.width)
            << at;
      }
      for (const int x : spikes) {  // beside a row with a few columns of its own, too
        const int beside = count > 100 ? x : x == frame.left ? x + 1 : x - 1;
        const std::vector<Primitive> pointer = LayOutPointer(lines, picture, beside, kMeasure);
        ASSERT_EQ(pointer.size(), 3u) << at;
        EXPECT_EQ(pointer.front().points.front().x, x) << at;
        EXPECT_NE(pointer.back().text.find("max 10"), std::string::npos) << at;
      }
    }
  }
}

// Every line stands out at 3:1 at least against a light or a dark plot and the band over
// it, as WCAG asks of graphics, and each pass line differs from its companion.
TEST(PreviewPictureTest, EveryLineStandsOutOnLightAndDarkPlots) {
  for (const std::uint32_t background : {0xFFFFFFu, 0xF0F0F0u, 0x353535u, 0x1E1E1Eu, 0u}) {
    const auto inks = PreviewInks(background, background > 0x808080 ? 0 : 0xFFFFFF);
    const auto ink = [&inks](Ink which) { return inks[static_cast<std::size_t>(which)]; };
    for (const Ink line : kLineInks) {
      for (const std::uint32_t under : {background, ink(Ink::kBand)}) {
        EXPECT_GE(ContrastRatio(ink(line), under), 3) << under << " " << int(line);
      }
    }
    EXPECT_NE(ink(Ink::kPass1), ink(Ink::kMax));
    EXPECT_NE(ink(Ink::kPass2), ink(Ink::kMin));
  }
}

// The preview says on how many rows the limit holds each pass line back, and from which
// limit it holds nothing back, by the rule Go moves them by: on the sample lines, Pass1
// from 4.5 m, held a millimetre below; Pass2 from 4.75 m. It wraps to the preview's width.
TEST(PreviewLinesTest, SaysWhereTheLimitHoldsThePassLines) {
  PreviewSource source;
  ASSERT_TRUE(source.Refresh(HeldFolder(KELVANE_EXAMPLES)));
  EXPECT_EQ(source.Lines("4").summary,
            "At 4 m the limit holds Pass1 on 96 of 360 rows and Pass2 on 108; from 4.75 m it "
            "holds nothing back (Pass1 from 4.5 m, Pass2 from 4.75 m).");
  for (const auto& [limit, held] : {std::pair{"4.5", "Pass1 on 0 of"}, {"4.75", "Pass2 on 0;"}}) {
    EXPECT_NE(source.Lines(limit).summary.find(held), std::string::npos) << limit;
    const std::string below = std::to_string(std::stof(limit) - 0.001f);  // "4.499000"
    EXPECT_EQ(source.Lines(below).summary.find(held), std::string::npos) << below;
  }
  const PreviewLines lines = source.Lines("2.5");
  const PreviewPicture picture = LayOutPreview(lines, {0, 0, 800, 400}, kMeasure);
  const std::vector<std::string> texts = TextsOf(picture.primitives);
  std::string said;  // the lines after the legend's five
  for (std::size_t i = 5; i < texts.size(); ++i) said += texts[i] + " ";
  EXPECT_TRUE(said.starts_with(PreviewDescription(lines) + " ")) << said;
}

// The pass lines on disk are read as inputs are, and drawn only where they differ from what
// Go writes; the preview says which Go writes and which it replaces, on how many rows each
// differs (at 3 m from Go's at 4 m: where 3 m holds it back), and one that cannot be read
// is said, never in Go's way.
TEST(PreviewLinesTest, ShowsWhatGoReplaces) {
  const ScratchDir dir;
  for (const char* name : {"Race.txt", "MaxRace.txt", "MinRace.txt"}) {
    std::filesystem::copy_file(std::filesystem::path(KELVANE_EXAMPLES) / name, dir.path / name);
  }
  PreviewSource source;
  source.Refresh(HeldFolder(dir.path));
  EXPECT_EQ(source.Lines("4").what_go_does, "Go writes Pass1.txt and Pass2.txt.");
  std::filesystem::copy_file(std::filesystem::path(KELVANE_EXAMPLES) / "Pass1.txt",
                             dir.path / "Pass1.txt");  // what Go writes at 4 m
#ifdef _WIN32
  std::filesystem::create_directory(dir.path / "Pass2.txt");
#else  // a FIFO planted as a pass line never makes the preview wait
  ASSERT_EQ(mkfifo((dir.path / "Pass2.txt").c_str(), 0666), 0);
#endif
  ASSERT_TRUE(source.Refresh(HeldFolder(dir.path)));
  const PreviewLines lines = source.Lines("4");
  EXPECT_EQ(lines.what_go_does.substr(0, 31), "Go replaces Pass1.txt (written ");
  EXPECT_NE(lines.what_go_does.find("), which is as Go writes it, and Pass2.txt, which on disk "
                                    "cannot be read: file error: "),
            std::string::npos)
      << lines.what_go_does;
  const std::string at_3 = source.Lines("3").summary;  // "... holds Pass1 on 197 of 360 ..."
  const std::size_t from = at_3.find("Pass1 on ") + 9;
  const std::string held = at_3.substr(from, at_3.find(' ', from) - from);
  EXPECT_NE(source.Lines("3").what_go_does.find("), which differs on " + held + " rows, and"),
            std::string::npos);
  PreviewLines one_row = lines;  // the same as Go's, but for one row touched up by hand
  one_row.on_disk[0][100] = 9.5f;
  const auto on_disk = [](const PreviewLines& shown) {
    return Only(LayOutPreview(shown, {0, 0, 800, 400}, kMeasure).primitives, Shape::kLine,
                Ink::kPass1, Dash::kDashed);
  };
  EXPECT_TRUE(on_disk(lines).empty());
  EXPECT_EQ(on_disk(one_row).size(), 1u);
  const PreviewPicture edited = LayOutPreview(one_row, {0, 0, 800, 400}, kMeasure);
  const int x = edited.columns.Column(100);
  const std::vector<Primitive> marks = Only(edited.primitives, Shape::kBox, Ink::kPass1);
  EXPECT_TRUE(std::any_of(marks.begin(), marks.end(), [&](const Primitive& mark) {
    const Box& box = mark.box;
    return box.top < edited.frame.top + 5 && box.left <= x && x < box.left + box.width;
  }));  // marked along the top
  EXPECT_EQ(TextsOf(LayOutPointer(one_row, edited, x, kMeasure))[0].substr(0, 24),
            "Row 101, line 104 (m): r");  // every file has it on the same line
}

}  // namespace
}  // namespace kelvane
