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

#include "tests/test_support.h"
#include "window/preview_plot.h"

namespace kelvane {

// Input lines along a sine of 20 m over `count` rows, the max and min lines 10 m to either
// side of the race line.
inline void WriteSineLines(const ScratchDir& dir, int count) {
  const double offsets[] = {0, 10, -10};
  const char* names[] = {"Race.txt", "MaxRace.txt", "MinRace.txt"};
  for (int line = 0; line < 3; ++line) {
    std::string text = "0\r\n0\r\n" + std::to_string(count) + "\r\n";
    for (int row = 0; row < count; ++row) {
      const double separation = 20 * std::sin(2 * std::numbers::pi * row / count) + offsets[line];
      text += std::to_string(row * 10) + ",0," + std::to_string(separation) + ",150,0.9\r\n";
    }
    dir.Write(names[line], text);
  }
}

// A drawn preview, as 0xRRGGBB per pixel.
struct Picture {
  int width;
  int height;
  std::function<std::uint32_t(int x, int y)> pixel;
  std::uint32_t text;  // the colour of text, the frame and the race line
};

// Where the preview of WriteSineLines is wrong, or "" where it is right: inside the frame
// (the rectangle of text colour across most of the picture), every pixel column shows
// all five lines, each pass line `fraction` of the way from the race line to its companion
// (within 3 pixels), and never within 3 pixels of the race line. A `fraction` below 0: the
// pass lines' colours are nowhere in the picture.
inline std::string PreviewFault(const Picture& picture, double fraction) {
  const auto colour = [&](std::size_t line) {
    return line == 0 ? picture.text : kPreviewColours[line];
  };
  if (fraction < 0) {
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const std::uint32_t pixel = picture.pixel(x, y);
        if (pixel == colour(3) || pixel == colour(4)) return "a pass line's colour is drawn";
      }
    }
    return "";
  }
  const auto run = [&](int x, int y, int dx, int dy) {
    int length = 0;
    while (x < picture.width && y < picture.height && picture.pixel(x, y) == picture.text) {
      ++length, x += dx, y += dy;
    }
    return length;
  };
  int top = -1, bottom = -1, left = -1, right = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width / 3; ++x) {
      if (run(x, y, 1, 0) < picture.width * 7 / 10) continue;
      if (top < 0) top = y, left = x, right = x + run(x, y, 1, 0) - 1;
      bottom = y;
      break;
    }
  }
  if (top < 0 || bottom - top < 20 || run(left, bottom, 1, 0) != right - left + 1)
    return "no frame";
  int columns = 0, right_columns = 0;
  for (int x = left + (right - left) / 10; x < right - (right - left) / 10; ++x) {
    std::array<std::vector<int>, 5> rows;
    for (int y = top + 1; y < bottom; ++y) {
      for (std::size_t line = 0; line < 5; ++line) {
        if (picture.pixel(x, y) == colour(line)) rows[line].push_back(y);
      }
    }
    ++columns;
    if (std::any_of(rows.begin(), rows.end(), [](const auto& ys) { return ys.empty(); })) continue;
    const auto median = [](const std::vector<int>& ys) { return ys[ys.size() / 2]; };
    const int race = median(rows[0]);
    bool right_here = true;
    for (std::size_t pass = 3; pass < 5; ++pass) {
      const double expected = race + fraction * (median(rows[pass - 2]) - race);
      right_here = right_here && std::abs(median(rows[pass]) - expected) <= 3;
      for (const int y : rows[pass]) right_here = right_here && std::abs(y - race) > 3;
    }
    right_columns += right_here;
  }
  if (right_columns < columns * 9 / 10) {
    return std::to_string(right_columns) + " of " + std::to_string(columns) +
           " pixel columns show the lines where they must be";
  }
  return "";
}

}  // namespace kelvane

#endif  // KELVANE_TESTS_PREVIEW_PIXELS_H_
