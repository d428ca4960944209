#ifndef KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_
#define KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "app/limit_text.h"
#include "app/preview_plot.h"
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
  std::vector<std::uint32_t> pixels;     // row by row, 0xRRGGBB in the low 24 bits
  std::uint32_t text = 0;                // the colour of text, the frame and the race line
  std::array<std::uint32_t, 5> colours;  // the lines' colours on its background
  std::uint32_t pixel(int x, int y) const {
    return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFFu;
  }
};

// Where a window's drawing departs from the picture it drew, or "": nine in ten points of
// each line's course show that line's colour; so does a third of each pass line on disk,
// drawn dashed, and the middle of each of the limit's marks.
inline std::string DrawingFault(const Picture& drawn, const PlotPicture& picture) {
  const auto share = [&drawn](const std::vector<PlotPoint>& points, std::uint32_t colour) {
    const auto shown = std::count_if(points.begin(), points.end(), [&](PlotPoint point) {
      return drawn.pixel(point.x, point.y) == colour;
    });
    return points.empty() ? 1.0 : static_cast<double>(shown) / static_cast<double>(points.size());
  };
  for (std::size_t line = 0; line < 5; ++line) {
    const std::uint32_t colour = line == 0 ? drawn.text : drawn.colours[line];
    if (share(picture.traces[line], colour) < 0.9) return std::string(kLineNames[line]);
    if (line < 3) continue;
    for (const std::vector<PlotPoint>& run : picture.on_disk[line - 3]) {
      if (share(run, colour) < 0.33) return std::string(kLineNames[line]) + " on disk";
    }
    for (const auto& [from, to] : picture.held_spans[line - 3]) {
      if (share({{(from + to) / 2, picture.marks_y[line - 3] + 1}}, colour) < 1) {
        return std::string(kLineNames[line]) + "'s mark at " + std::to_string(from);
      }
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

// Checks a window's preview of WriteSineLines(dir, 300), its limit 4 m: it draws what
// DrawPreview makes of its lines, following the limit as it is typed, with no pass line for a
// refused one; the pointer reads out the row under it, the wheel zooms around that row, and
// a double-click shows every row again; the pass lines on disk are drawn where they differ
// from Go's.
template <typename Plot>
void CheckPreviewOfSineLines(const Plot& plot, const PreviewActions& window,
                             const ScratchDir& dir) {
  const auto drawn = [&] {  // what the window drew, and the picture it drew, at once
    const Picture grabbed = window.grab();
    return std::pair{DrawingFault(grabbed, plot.picture()), plot.picture()};
  };
  const auto [fault, at_4] = drawn();
  EXPECT_EQ(fault, "");
  EXPECT_FALSE(at_4.held_spans[0].empty());  // the midpoint is 5 m off, beyond the limit
  window.point();
  const std::string read = drawn().second.readout.text, row = read.substr(0, read.find(':'));
  EXPECT_NE(read.find(", Pass2 "), std::string::npos) << read;
  window.wheel();
  EXPECT_EQ(plot.view().last - plot.view().first, 239);  // four fifths of 299
  EXPECT_EQ(drawn().second.readout.text.substr(0, row.size() + 1), row + ":");  // still there
  window.double_click();
  EXPECT_LT(plot.view().last, plot.view().first);
  window.type_limit("2,5");
  EXPECT_EQ(drawn().first, "");
  EXPECT_TRUE(plot.picture().traces[3].empty());
  EXPECT_EQ(plot.lines().problem, RefusalMessage(LimitProblem::kDecimalComma));
  ComputePassLines(dir.path, 4);
  window.activate();
  window.type_limit("3");
  EXPECT_EQ(drawn().first, "");
  EXPECT_FALSE(plot.picture().on_disk[0].empty());
}

}  // namespace kelvane

#endif  // KELVANE_TESTS_WINDOW_PREVIEW_CHECKS_H_
