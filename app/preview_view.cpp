#include "app/preview_view.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

std::pair<int, int> VisibleRows(const PlotView& view, int count) {
  if (view.last < view.first || count <= 0) return {0, std::max(count, 1) - 1};
  const int last = std::min(view.last, count - 1);
  return {std::clamp(view.first, 0, last), last};
}

PlotView WheeledView(const PlotView& view, int count, const Box& frame, int x, bool forward) {
  const auto [first, last] = VisibleRows(view, count);
  const int span = static_cast<int>(std::lround((last - first) * (forward ? 0.8 : 1.25)));
  if (span >= count - 1) return EveryRow(view);
  const int shown = std::max(span, 3);
  // The row under `x` stays under it: exactly where each row has columns of its own, else
  // as far across the frame.
  const double at = std::clamp((x - frame.left) / double(std::max(frame.width - 1, 1)), 0.0, 1.0);
  auto start = static_cast<int>(std::lround(first + at * (last - first - shown)));
  if (shown < frame.width) {
    const auto row_at = [&frame, x](int rows) {
      return static_cast<int>(RowColumns(static_cast<std::size_t>(rows), frame).Row(x));
    };
    start = first + row_at(last - first + 1) - row_at(shown + 1);
  }
  start = std::clamp(start, 0, count - 1 - shown);
  return {start, start + shown, view.pointer_x};
}

PlotView PannedView(const PlotView& view, int count, const Box& frame, int dx) {
  const auto [first, last] = VisibleRows(view, count);
  if (view.last < view.first) return view;  // every row is shown already
  const int rows =
      static_cast<int>(std::lround(-dx / double(std::max(frame.width - 1, 1)) * (last - first)));
  const int start = std::clamp(first + rows, 0, count - 1 - (last - first));
  return {start, start + (last - first), view.pointer_x};
}

RowColumns::RowColumns(std::size_t count, const Box& frame)
    : count_(count), left_(frame.left), width_(std::max(frame.width, 1)) {}

// Worked out in whole numbers, so that a row and its column map back and forth exactly.
int RowColumns::Column(std::size_t row) const {
  const auto width = static_cast<std::size_t>(width_);
  if (!Spread()) return left_ + static_cast<int>(row * width / count_);
  if (count_ < 2) return left_ + (width_ - 1) / 2;
  const std::size_t span = count_ - 1;
  return left_ + static_cast<int>((2 * row * (width - 1) + span) / (2 * span));
}

std::size_t RowColumns::Row(int x) const {
  if (count_ < 2) return 0;
  const auto column = static_cast<std::size_t>(std::clamp(x - left_, 0, width_ - 1));
  const auto width = static_cast<std::size_t>(width_);
  if (!Spread()) return std::min(count_ - 1, (column * count_ + width - 1) / width);
  const std::size_t span = count_ - 1;
  return (2 * column * span + width - 1) / (2 * (width - 1));
}

std::size_t RowColumns::NextColumnRow(std::size_t row) const {
  if (Spread()) return row + 1;
  const auto width = static_cast<std::size_t>(width_);
  const auto next = static_cast<std::size_t>(Column(row) - left_) + 1;
  return std::min(count_, (next * count_ + width - 1) / width);
}

}  // namespace kelvane
