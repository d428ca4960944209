#ifndef KELVANE_APP_PREVIEW_VIEW_H_
#define KELVANE_APP_PREVIEW_VIEW_H_

#include <utility>

namespace kelvane {

// A box in the preview's pixels.
struct PlotBox {
  int left;
  int top;
  int width;
  int height;
};

// Which data rows the plot shows, and where the pointer is.
struct PlotView {
  int first = 0;       // the first row shown, from 0
  int last = -1;       // the last row shown; below `first`: every row
  int pointer_x = -1;  // the pixel column under the pointer; -1 when it is not over the plot
};

// The rows `view` shows of `count`, first and last, from 0: every row where it names none.
std::pair<int, int> VisibleRows(const PlotView& view, int count);

// `view` zoomed by `factor` (below 1 in, above 1 out) around the row at the pixel column
// `x` of `frame`, which stays under it; never fewer than 4 rows, and every row at most.
PlotView ZoomedView(const PlotView& view, int count, const PlotBox& frame, int x, double factor);

// `view` moved by `dx` pixel columns of `frame`, as a hand drags the plot, within the rows.
PlotView PannedView(const PlotView& view, int count, const PlotBox& frame, int dx);

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_VIEW_H_
