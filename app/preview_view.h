#ifndef KELVANE_APP_PREVIEW_VIEW_H_
#define KELVANE_APP_PREVIEW_VIEW_H_

#include <cstddef>
#include <utility>

#include "app/box.h"

namespace kelvane {

// Which data rows the plot shows, and where the pointer is.
struct PlotView {
  int first = 0;       // the first row shown, from 0
  int last = -1;       // the last row shown; below `first`: every row
  int pointer_x = -1;  // the pixel column under the pointer; -1 when it is not over the plot
};

// `view` showing every row again, the pointer where it was.
inline PlotView EveryRow(const PlotView& view) { return {0, -1, view.pointer_x}; }

// Whether `one` and `other` show the same rows, so that only the pointer moved.
inline bool SameRows(const PlotView& one, const PlotView& other) {
  return one.first == other.first && one.last == other.last;
}

// The rows `view` shows of `count`, first and last, from 0: every row where it names none.
std::pair<int, int> VisibleRows(const PlotView& view, int count);

// `view` zoomed by a notch of the wheel (`forward`: in, to four fifths of the rows; else out)
// around the row at the pixel column `x` of `frame`, which stays under it; never fewer than 4
// rows, and every row at most.
PlotView WheeledView(const PlotView& view, int count, const Box& frame, int x, bool forward);

// `view` moved by `dx` pixel columns of `frame`, as a hand drags the plot, within the rows.
PlotView PannedView(const PlotView& view, int count, const Box& frame, int dx);

// Where each of `count` rows stands among the pixel columns of a frame, and back: the one
// mapping of the lines, the marks, the rows' ticks, the cursor and the readout. Where each
// row has a column of its own, the first stands at the left edge, the last at the right and
// the rest evenly between; where rows outnumber columns, each column holds the rows whose
// share of the width falls in it, and every column holds one at least.
class RowColumns {
 public:
  RowColumns() = default;
  RowColumns(std::size_t count, const Box& frame);

  std::size_t count() const { return count_; }
  // The pixel column of `row` (from 0, below count()).
  int Column(std::size_t row) const;
  // The row nearest the pixel column `x` (any x: the first or last row beyond the frame);
  // where rows outnumber columns, the first of that column's. 0 when there is no row.
  std::size_t Row(int x) const;
  // The first row of the columns right of `row`'s (count() after the last column's).
  std::size_t NextColumnRow(std::size_t row) const;

 private:
  bool Spread() const { return count_ <= static_cast<std::size_t>(width_); }

  std::size_t count_ = 0;
  int left_ = 0;
  int width_ = 1;
};

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_VIEW_H_
