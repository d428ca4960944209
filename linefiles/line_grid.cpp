#include "linefiles/line_grid.h"

#include <algorithm>
#include <cmath>
#include <string>

LineGrid::LineGrid(int count) : LineGrid(count, UnfilledTag{}) { ClearRowsFrom(kHeaderRows + 1); }

LineGrid LineGrid::Unfilled(int count) { return LineGrid(count, UnfilledTag{}); }

LineGrid::LineGrid(int count, UnfilledTag)
    : last_row_(CheckedCount(count, {}, std::to_string(count)) + kHeaderRows),
      cells_(static_cast<std::size_t>(last_row_) * kColumns) {
  std::fill_n(cells_.begin(), CellIndex(kHeaderRows + 1, 0), 0.0F);
  at(kHeaderRows, 0) = static_cast<float>(count);
}

void LineGrid::ClearRowsFrom(int row) {
  const std::size_t first = std::min(CellIndex(std::max(row, 1), 0), cells_.size());
  std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(first), cells_.end(), 0.0F);
}

void LineGrid::FailIndex(int row, int column) const {
  throw RunError(ErrorKind::kBounds, "cell (" + std::to_string(row) + ", " +
                                         std::to_string(column) + ") is outside rows 1 to " +
                                         std::to_string(last_row_) + ", columns 0 to 4");
}

std::int16_t CheckedCount(double count, const ErrorPlace& place, std::string_view item) {
  const auto fail = [&](ErrorKind kind, std::string_view problem) {
    throw RunError(kind, place, QuotedItem(item) + " " + std::string(problem));
  };
  if (std::isfinite(count) && count != std::trunc(count))
    fail(ErrorKind::kInput, "is not a whole count");
  // Negated, so that a NaN, for which every comparison is false, counts as beyond too.
  if (!(count <= LineGrid::kMaxCount && count >= INT16_MIN)) {
    fail(ErrorKind::kOverflow, "is beyond the counts 0 to " + std::to_string(LineGrid::kMaxCount));
  }
  if (count < 0) fail(ErrorKind::kBounds, "is a negative count");
  return static_cast<std::int16_t>(count);
}
