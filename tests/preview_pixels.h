#ifndef KELVANE_TESTS_PREVIEW_PIXELS_H_
#define KELVANE_TESTS_PREVIEW_PIXELS_H_

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "app/preview_plot.h"
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

// A drawn preview, as 0xRRGGBB per pixel.
struct Picture {
  int width;
  int height;
  std::function<std::uint32_t(int x, int y)> pixel;
  std::uint32_t text;                    // the colour of text, the frame and the race line
  std::array<std::uint32_t, 5> colours;  // the lines' colours on its background
};

// Where the preview of WriteSineLines is wrong, or "" where it is right: inside the frame
// (the rectangle of text colour across most of the picture, less the strip of marks along
// its bottom), nine in ten pixel columns
// show all five lines, each pass line `fraction` of the way from the race line to its
// companion (within 3 pixels) and never within 3 pixels of the race line, and each pass
// line marked in the strip where the limit holds it (a `fraction` below 0.5: everywhere);
// or, for a `fraction` below 0, the input lines and neither pass line nor mark.
// The frame: its top and bottom rows and its left column, and 7 in 10 of the width.
struct Frame {
  int top = -1, bottom = -1, left = 0, wide = 0;
};
inline Frame FindFrame(const Picture& picture) {
  Frame frame{-1, -1, 0, picture.width * 7 / 10};
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0, run = 0; x < picture.width && run < frame.wide; ++x) {
      run = picture.pixel(x, y) == picture.text ? run + 1 : 0;
      if (run == frame.wide && frame.top < 0) frame.top = y, frame.left = x - run + 1;
      if (run == frame.wide) frame.bottom = y;
    }
  }
  return frame;
}

// How many of the frame's middle pixel columns show Pass1's colour in two places apart
// (its line and the one on disk), above the strip of marks.
inline int ColumnsWithTwoPass1s(const Picture& picture) {
  const Frame frame = FindFrame(picture);
  int columns = 0;
  for (int x = frame.left + frame.wide / 10; x < frame.left + frame.wide * 9 / 10; ++x) {
    int runs = 0;
    for (int y = frame.top + 1, last = -9; y < frame.bottom - 12; ++y) {
      if (picture.pixel(x, y) != picture.colours[3]) continue;
      runs += y > last + 2 ? 1 : 0;
      last = y;
    }
    columns += runs >= 2 ? 1 : 0;
  }
  return columns;
}

inline std::string PreviewFault(const Picture& picture, double fraction) {
  const auto [top, bottom, left, wide] = FindFrame(picture);
  if (top < 0 || bottom - top < 20) return "no frame";
  int columns = 0, right_columns = 0;
  for (int x = left + wide / 10; x < left + wide * 9 / 10; ++x, ++columns) {
    std::array<std::vector<int>, 5> rows;
    for (int y = top + 1; y < bottom - 12; ++y) {  // above the strip of the limit's marks
      const std::uint32_t pixel = picture.pixel(x, y);
      for (std::size_t line = 0; line < 5; ++line) {
        if (pixel == (line == 0 ? picture.text : picture.colours[line])) rows[line].push_back(y);
      }
    }
    std::array<bool, 5> marked{};
    for (int y = bottom - 12; y < bottom; ++y) {
      for (std::size_t pass = 3; pass < 5; ++pass) {
        marked[pass] = marked[pass] || picture.pixel(x, y) == picture.colours[pass];
      }
    }
    const bool held = fraction >= 0 && fraction < 0.5;
    if (marked[3] != held || marked[4] != held) continue;
    const auto shown = [&rows](std::size_t line) { return !rows[line].empty(); };
    if (fraction < 0) {
      right_columns += shown(0) && shown(1) && shown(2) && !shown(3) && !shown(4);
      continue;
    }
    if (!(shown(0) && shown(1) && shown(2) && shown(3) && shown(4))) continue;
    const auto median = [&rows](std::size_t line) { return rows[line][rows[line].size() / 2]; };
    bool right_here = true;
    for (std::size_t pass = 3; pass < 5; ++pass) {
      const double expected = median(0) + fraction * (median(pass - 2) - median(0));
      right_here = right_here && std::abs(median(pass) - expected) <= 3;
      for (const int y : rows[pass]) right_here = right_here && std::abs(y - median(0)) > 3;
    }
    right_columns += right_here;
  }
  if (right_columns >= columns * 9 / 10) return "";
  return std::to_string(right_columns) + " of " + std::to_string(columns) +
         " pixel columns show the lines where they must be";
}

}  // namespace kelvane

#endif  // KELVANE_TESTS_PREVIEW_PIXELS_H_
