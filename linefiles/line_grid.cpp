#include "linefiles/line_grid.h"

#include <cmath>
#include <string>

namespace kelvane {

LineGrid::LineGrid(int count)
    : last_row_(CheckedCount(count, {}, std::to_string(count)) + kHeaderRows),
      cells_(static_cast<std::size_t>(last_row_) * kColumns) {
  at(kHeaderRows, 0) = static_cast<float>(count);
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
}  // namespace kelvane
