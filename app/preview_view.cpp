#include "app/preview_view.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

std::pair<int, int> VisibleRows(const PlotView& view, int count) {
  if (view.last < view.first || count <= 0) return {0, std::max(count, 1) - 1};
  const int last = std::min(view.last, count - 1);
  return {std::clamp(view.first, 0, last), last};
}

PlotView ZoomedView(const PlotView& view, int count, const PlotBox& frame, int x, double factor) {
  const auto [first, last] = VisibleRows(view, count);
  const double at = std::clamp((x - frame.left) / double(std::max(frame.width - 1, 1)), 0.0, 1.0);
  const double anchor = first + at * (last - first);
  const int span = static_cast<int>(std::lround((last - first) * factor));
  if (span >= count - 1) return {0, -1, view.pointer_x};
  const int shown = std::max(span, 3);
  const int start =
      std::clamp(static_cast<int>(std::lround(anchor - at * shown)), 0, count - 1 - shown);
  return {start, start + shown, view.pointer_x};
}

PlotView PannedView(const PlotView& view, int count, const PlotBox& frame, int dx) {
  const auto [first, last] = VisibleRows(view, count);
  if (view.last < view.first) return view;  // every row is shown already
  const int rows =
      static_cast<int>(std::lround(-dx / double(std::max(frame.width - 1, 1)) * (last - first)));
  const int start = std::clamp(first + rows, 0, count - 1 - (last - first));
  return {start, start + (last - first), view.pointer_x};
}

}  // namespace kelvane
