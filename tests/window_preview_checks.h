#ifndef KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_
#define KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "app/limit_text.h"
#include "app/preview_picture.h"
#include "passlines/compute_pass_lines.h"
#include "tests/test_support.h"

namespace kelvane {

// Input lines along a sine of 20 m over `count` rows, the max and min lines 10 m to either
// side of the race line.
inline void WriteSineLines(const ScratchDir& dir, int count) {
  for (std::size_t line = 0; line < 3; ++line) {
    const double offset = std::array{0.0, 10.0, -10.0}[line];
    std::string text = "0\r\n0\r\n" + std::to_string(count) + "\r\n";
    for (int row = 0; row < count; ++row) {
      const double separation = 20 * std::sin(2 * std::numbers::pi * row / count) + offset;
      text += std::to_string(row * 10) + ",0," + std::to_string(separation) + ",150,0.9\r\n";
    }
    dir.Write(std::string(kLineNames[line]), text);
  }
}

// A drawn preview.
struct Picture {
  int width = 0;
  std::vector<std::uint32_t> pixels;            // row by row, 0xRRGGBB in the low 24 bits
  std::array<std::uint32_t, kInkCount> inks{};  // the colour of each ink on its background
  std::uint32_t pixel(int x, int y) const {
    return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFFu;
  }
};

// The primitives of `shape` and `ink` among `primitives` (solid, of lines), in paint order.
inline std::vector<Primitive> Only(const std::vector<Primitive>& primitives, Shape shape, Ink ink,
                                   Dash dash = Dash::kSolid) {
  std::vector<Primitive> only;
  std::copy_if(primitives.begin(), primitives.end(), std::back_inserter(only),
               [&](const Primitive& one) {
                 return one.shape == shape && one.ink == ink && one.dash == dash;
               });
  return only;
}

// The course of the line of `ink`, its longest (the legend's pen has two points); none when
// it is not shown.
inline std::vector<Point> Course(const std::vector<Primitive>& primitives, Ink ink) {
  std::vector<Point> course;
  for (const Primitive& line : Only(primitives, Shape::kLine, ink)) {
    if (line.points.size() > course.size()) course = line.points;
  }
  return course.size() > 2 ? course : std::vector<Point>{};
}

inline std::vector<std::string> TextsOf(const std::vector<Primitive>& primitives) {
  std::vector<std::string> texts;
  for (const Primitive& text : Only(primitives, Shape::kText, Ink::kText)) {
    texts.push_back(text.text);
  }
  return texts;
}

// Where a window's drawing departs from the primitives it stroked, or "": nine in ten points
// of each solid line of a line's ink (but its last, which Windows leaves out) show that ink,
// a third of each dashed or dotted one, and so does the middle of each mark and a pixel of
// each text.
inline std::string DrawingFault(const Picture& drawn, const std::vector<Primitive>& primitives) {
  for (const Primitive& primitive : primitives) {
    const std::uint32_t colour = drawn.inks[static_cast<std::size_t>(primitive.ink)];
    const auto shows = [&](Point point) { return drawn.pixel(point.x, point.y) == colour; };
    const Box& box = primitive.box;
    const std::vector<Point>& points = primitive.points;
    const std::string at = std::to_string(static_cast<int>(primitive.ink)) + " at " +
                           std::to_string(points.empty() ? box.left : points[0].x);
    if (primitive.shape == Shape::kBox && primitive.ink >= Ink::kPass1 &&
        !shows({box.left + box.width / 2, box.top + box.height / 2})) {
      return "the mark of ink " + at;
    }
    bool inked = false;  // a text shows a pixel of its ink at least
    for (int x = box.left; primitive.shape == Shape::kText && x < box.left + box.width; ++x) {
      for (int y = box.top; y < box.top + box.height; ++y) inked = inked || shows({x, y});
    }
    if (primitive.shape == Shape::kText && !inked) return "the text " + primitive.text;
    if (primitive.shape != Shape::kLine || primitive.ink < Ink::kRace) continue;
    const double shown =
        static_cast<double>(std::count_if(points.begin(), points.end() - 1, shows));
    if (shown <
        (primitive.dash == Dash::kSolid ? 0.9 : 0.33) * static_cast<double>(points.size() - 1)) {
      return "a line of ink " + at;
    }
  }
  return "";
}

// What a window's test does to its preview as a person would, in its toolkit's terms.
struct PreviewActions {
  std::function<Picture()> grab;                // the preview drawn as it is now
  std::function<void(const char*)> type_limit;  // the limit's text box given this text
  std::function<void()> point;                  // the pointer moved to the preview's middle
  std::function<void()> wheel;                  // the wheel turned a notch forward there
  std::function<void()> double_click;
  std::function<void()> activate;  // the window made active again
};

// Checks a window's preview of WriteSineLines(dir, 300), its limit 4 m, at the window's first
// size: it strokes what LayOutPreview makes of its lines, following the limit as it is
// typed, with no pass line for a refused one, and nothing moved; the pointer reads out the
// row under it, the wheel zooms around that row, and a double-click shows every row again;
// the pass lines on disk are drawn where they differ from Go's, and read out. Every text
// lies inside the preview, over a plot with three meters ticks and two rows ticks.
template <typename Plot>
void CheckPreviewOfSineLines(const Plot& plot, const PreviewActions& window,
                             const ScratchDir& dir) {
  const auto fault = [&] {  // what the window drew against what it stroked
    const Picture grabbed = window.grab();
    std::vector<Primitive> stroked = plot.picture().primitives;
    stroked.insert(stroked.end(), plot.pointer_layer().begin(), plot.pointer_layer().end());
    return DrawingFault(grabbed, stroked);
  };
  const auto readout = [&] {
    std::string read;
    for (const std::string& line : TextsOf(plot.pointer_layer())) read += line + " ";
    return read;
  };
  EXPECT_EQ(fault(), "");
  // The midpoint is 5 m off, beyond the limit: marked.
  EXPECT_FALSE(Only(plot.picture().primitives, Shape::kBox, Ink::kPass1).empty());
  window.point();
  EXPECT_EQ(fault(), "");
  const std::string read = readout(), row = read.substr(0, read.find(':'));
  EXPECT_NE(read.find(", Pass2 "), std::string::npos) << read;
  window.wheel();
  EXPECT_EQ(plot.view().last - plot.view().first, 239);  // four fifths of 299
  EXPECT_EQ(fault(), "");
  EXPECT_EQ(readout().substr(0, row.size() + 1), row + ":");  // still there
  window.double_click();
  EXPECT_LT(plot.view().last, plot.view().first);
  const Box frame = plot.picture().frame;
  window.type_limit("2,5");
  EXPECT_EQ(fault(), "");
  EXPECT_TRUE(Course(plot.picture().primitives, Ink::kPass1).empty());
  EXPECT_EQ(plot.lines().problem, RefusalMessage(LimitProblem::kDecimalComma));
  EXPECT_EQ(plot.picture().frame, frame);
  ComputePassLines(dir.path, 4);
  window.activate();
  window.type_limit("3");
  window.point();
  EXPECT_EQ(fault(), "");
  EXPECT_FALSE(Only(plot.picture().primitives, Shape::kLine, Ink::kPass1, Dash::kDashed).empty());
  EXPECT_NE(readout().find(" (on disk "), std::string::npos) << readout();
  std::vector<Primitive> all = plot.picture().primitives;
  all.insert(all.end(), plot.pointer_layer().begin(), plot.pointer_layer().end());
  const Box area = all.front().box;  // the background
  std::array<int, 2> ticks{};        // across, for meters; down, for rows
  for (const Primitive& one : all) {
    EXPECT_TRUE(one.shape != Shape::kText || (one.box.left >= 0 && one.box.top >= 0 &&
                                              one.box.left + one.box.width <= area.width &&
                                              one.box.top + one.box.height <= area.height))
        << one.text << " in " << area.width << " x " << area.height;
    if (one.shape == Shape::kLine && one.ink == Ink::kText && one.dash == Dash::kSolid &&
        one.points.size() == 2) {
      ++ticks[one.points[0].y == one.points[1].y ? 0 : 1];
    }
  }
  EXPECT_GE(ticks[0], 3);
  EXPECT_GE(ticks[1], 2);
}

}  // namespace kelvane

#endif  // KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_
