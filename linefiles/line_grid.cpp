#include "linefiles/line_grid.h"

#include <string>

#include "linefiles/run_error.h"

namespace {

// The last row for `count` data rows, checked before it is formed.
int LastRow(int count) {
  if (count > LineGrid::kMaxCount) {
    throw RunError(ErrorKind::kOverflow,
                   "a count of " + std::to_string(count) + " is more than the " +
                       std::to_string(LineGrid::kMaxCount) + " data rows a line can hold");
  }
  if (count < 0) {
    throw RunError(ErrorKind::kBounds,
                   "a count of " + std::to_string(count) + " is negative; it must be 0 or more");
  }
  return count + LineGrid::kHeaderRows;
}

}  // namespace

LineGrid::LineGrid(int count)
    : last_row_(LastRow(count)), cells_(static_cast<std::size_t>(last_row_) * kColumns, 0.0F) {}

float& LineGrid::at(int row, int column) { return cells_[Index(row, column)]; }

float LineGrid::at(int row, int column) const { return cells_[Index(row, column)]; }

void LineGrid::CheckRow(int row) const {
  if (row < 1 || row > last_row_) {
    throw RunError(ErrorKind::kBounds, "row " + std::to_string(row) + " is outside the rows 1 to " +
                                           std::to_string(last_row_) + " of the line");
  }
}

std::size_t LineGrid::Index(int row, int column) const {
  CheckRow(row);
  if (column < 0 || column >= kColumns) {
    throw RunError(ErrorKind::kBounds,
                   "column " + std::to_string(column) + " is outside the columns 0 to 4");
  }
  return static_cast<std::size_t>((row - 1) * kColumns + column);
}
