#include "linefiles/line_grid.h"

#include <string>

#include "linefiles/run_error.h"

LineGrid::LineGrid(int count) : last_row_(count + kHeaderRows) {
  if (count > kMaxCount) {
    throw RunError(ErrorKind::kOverflow, "a count of " + std::to_string(count) +
                                             " is more than the " + std::to_string(kMaxCount) +
                                             " data rows a line can hold");
  }
  if (count < 0) {
    throw RunError(ErrorKind::kBounds,
                   "a count of " + std::to_string(count) + " is negative; it must be 0 or more");
  }
  cells_.assign(static_cast<std::size_t>(last_row_) * kColumns, 0.0F);
}

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
