#ifndef KELVANE_LINEFILES_LINE_GRID_H_
#define KELVANE_LINEFILES_LINE_GRID_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/run_error.h"

namespace kelvane {

// One line in memory: rows 1 to count+3 of five single-precision columns (0 to 4).
// Rows 1 and 2 hold the two header values in column 0, row 3 the count, and row k+3
// data row k. A plain value: copying a grid copies its cells.
class LineGrid {
 public:
  static constexpr int kColumns = 5;
  static constexpr int kHeaderRows = 3;
  // The largest count whose last row, count+3, still fits a 16-bit signed number.
  static constexpr int kMaxCount = INT16_MAX - kHeaderRows;

  // A grid for `count` data rows with every cell 0 but row 3, which holds the count.
  // Throws the errors of CheckedCount.
  explicit LineGrid(int count);

  int count() const { return last_row_ - kHeaderRows; }
  int last_row() const { return last_row_; }

  // The cell at (row, column). Throws RunError(kBounds) outside rows 1..last_row()
  // or columns 0..4.
  float& at(int row, int column) { return cells_[Index(row, column)]; }
  float at(int row, int column) const { return cells_[Index(row, column)]; }

  friend bool operator==(const LineGrid&, const LineGrid&) = default;

 private:
  // Where cell (row, column) lies among the cells, row by row. Unchecked: at() checks.
  static constexpr std::size_t CellIndex(int row, int column) {
    return static_cast<std::size_t>((row - 1) * kColumns + column);
  }
  std::size_t Index(int row, int column) const {
    if (row < 1 || row > last_row_ || column < 0 || column >= kColumns) FailIndex(row, column);
    return CellIndex(row, column);
  }
  [[noreturn]] void FailIndex(int row, int column) const;

  int last_row_;
  std::vector<float> cells_;
};

// `count` as the count of a line: a whole number from 0 to kMaxCount. Throws RunError at
// `place`, naming the count's text `item`: kInput when it is not whole, kOverflow when it
// is beyond 16 bits or kMaxCount, kBounds when it is negative.
std::int16_t CheckedCount(double count, const ErrorPlace& place, std::string_view item);

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_LINE_GRID_H_
