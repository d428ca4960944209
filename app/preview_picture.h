#ifndef KELVANE_APP_PREVIEW_PICTURE_H_
#define KELVANE_APP_PREVIEW_PICTURE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/box.h"
#include "app/preview_colours.h"
#include "app/preview_lines.h"
#include "app/preview_view.h"

namespace kelvane {

// The preview's picture, laid out once for both windows: shapes in the order they are
// painted, each with the role of its colour, places in pixels, texts in UTF-8. A window
// only strokes them in its own calls, each ink in the colour PreviewInks gives it.

// Each line of kLineNames' ink.
inline constexpr std::array<Ink, 5> kLineInks = {Ink::kRace, Ink::kMax, Ink::kMin, Ink::kPass1,
                                                 Ink::kPass2};

enum class Shape : std::uint8_t {
  kLine,  // a line through `points`, `width` pixels wide, each pixel downward from them
  kArea,  // the inside of the outline `points`, filled, not outlined
  kBox,   // `box`, filled
  kText,  // `text` on one line, from the top left of `box`, which is as wide as it
};

enum class Dash : std::uint8_t { kSolid, kDashed, kDotted };

struct Primitive {
  Shape shape;
  Ink ink;
  std::vector<Point> points;
  Box box{};
  std::string text;
  int width = 1;
  Dash dash = Dash::kSolid;
};

// How the window's font sets text: the width of a text, and the height of a line.
struct TextMeasure {
  std::function<int(std::string_view)> width;
  int line_height;
};

struct PreviewPicture {
  // All but the pointer's layer: what follows from the lines, the rows in view and the
  // size alone, so that a window may keep it drawn while the pointer moves.
  std::vector<Primitive> primitives;
  Box frame{};         // around the plotted area; 0 wide when no line is shown
  RowColumns columns;  // the rows in view among the frame's pixel columns
  int first_row = 0;   // the first row in view, from 0
  Box readout{};       // the lines above the frame where the pointer's row is read out
};

// How many data rows the longest of `lines` has.
int RowCount(const PreviewLines& lines);

// The picture of the rows of `lines` that `view` shows, in `area`: the legend across the
// top, the summary and what Go replaces under it, the separation in meters upward at the
// left and the data rows rightward along the bottom, the range covering every line shown;
// the band of race ± limit under the lines, marks along the bottom where the limit holds a
// pass line back, and the pass lines on disk dashed where they differ from Go's and marked
// there along the top. Why the pass lines are missing (a refused limit) is said in the
// summary's place; why every line is, alone, wrapped. Where a pixel column holds
// several rows, a line's course there is the least and the greatest of them, so that the points are
// a few per column whatever the count.
PreviewPicture LayOutPreview(const PreviewLines& lines, Box area, const TextMeasure& measure,
                             const PlotView& view = {});

// The pointer's layer over `picture` of `lines`, at the pixel column `pointer_x`: a dotted
// line down the frame at the row under it, and on the readout line, over the background,
// that row's number and every line's separation there. Empty when the pointer is not over
// the frame.
std::vector<Primitive> LayOutPointer(const PreviewLines& lines, const PreviewPicture& picture,
                                     int pointer_x, const TextMeasure& measure);

// What a window draws again as the pointer moves from the pixel column `from` to `to`: the
// cursor's column at each, and the readout line.
std::array<Box, 3> PointerBoxes(const PreviewPicture& picture, int from, int to);

// The preview's size as the window opens, `offered` wide at least: wide enough to read its
// texts at this font, and tall enough for the longest texts (LongestLines) over a plot of
// three meters ticks.
Box PreviewFirstSize(const TextMeasure& measure, int offered);

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_PICTURE_H_
