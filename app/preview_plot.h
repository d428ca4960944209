#ifndef KELVANE_APP_PREVIEW_PLOT_H_
#define KELVANE_APP_PREVIEW_PLOT_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/preview_colours.h"
#include "app/preview_lines.h"
#include "app/preview_view.h"

namespace kelvane {

// The preview's picture as both windows draw it: places in pixels, texts in UTF-8.

// Pen widths: the pass lines wider than the lines they are made of.
inline constexpr std::array<int, 5> kPreviewPenWidths = {1, 1, 1, 2, 2};

struct PlotPoint {
  int x;
  int y;
};

// A text set with its box's top left corner at the box's; wrapped to the box's width
// when `wrap` is set.
struct PlotText {
  PlotBox box;
  std::string text;
  bool wrap = false;
};

struct PlotPicture {
  PlotBox frame;  // the rectangle around the plotted area
  // Each line's course, in kLineNames' order, drawn in that order; empty when it is not
  // shown.
  std::array<std::vector<PlotPoint>, 5> traces;
  // A short piece of each shown line's pen, beside its name in the legend.
  std::array<std::array<PlotPoint, 2>, 5> samples;
  // The band where the limit lets a pass line go, race line ± limit, as one outline inside
  // the frame: drawn faint, under everything else.
  std::vector<PlotPoint> band;
  // Per pass line, the runs of pixel columns where the limit holds it back, marked 4 px high in
  // its colour in a strip along the bottom of the frame, at marks_y.
  std::array<std::vector<std::array<int, 2>>, 2> held_spans;  // first and last column
  std::array<int, 2> marks_y{};
  // The pass lines on disk where they differ from those Go writes, in runs: drawn thin and
  // dashed, under the pass lines.
  std::array<std::vector<std::vector<PlotPoint>>, 2> on_disk;
  std::vector<std::array<PlotPoint, 2>> ticks;
  std::vector<PlotText> texts;  // the legend's names, the axes' numbers and units
  PlotText message;             // why lines are missing; "" when none is
  // The row under the pointer: a line across the frame at it, and its number and every
  // line's separation there, on a line of its own above the frame ("" when the pointer is
  // not over the frame).
  std::array<PlotPoint, 2> cursor{};
  PlotText readout;
};

// How many data rows the longest of `lines` has.
int RowCount(const PreviewLines& lines);

// How the window's font sets text: the width of a text, and the height of a line.
struct TextMeasure {
  std::function<int(std::string_view)> width;
  int line_height;
};

// The picture of `lines` in `area`: the legend across the top, the summary under it, the
// separation in meters
// upward at the left and the data rows rightward along the bottom, the range covering
// every shown line. Where a pixel column holds several rows, their course there is drawn
// as the least and the greatest of them, so that the points are a few per column whatever
// the count.
// With a view, the rows it shows, the meters fitted to them, and the readout of the row
// under its pointer.
PlotPicture DrawPreview(const PreviewLines& lines, PlotBox area, const TextMeasure& measure,
                        const PlotView& view = {});

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_PLOT_H_
