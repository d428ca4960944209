#ifndef KELVANE_LINEFILES_LINE_GRID_H_
#define KELVANE_LINEFILES_LINE_GRID_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "base/run_error.h"

// An allocator that leaves a new value as the memory held it, so that a grid that is about
// to be filled is not cleared first.
template <typename T>
struct UnclearedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UnclearedAllocator<U>;
  };
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

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

  // A grid for `count` data rows as LineGrid(count) makes it, but with its data rows left
  // as the memory held them, for a reader that fills them: it must fill each data row, or
  // clear the rows it has nothing for with ClearRowsFrom. Throws as LineGrid(count).
  static LineGrid Unfilled(int count);

  // Sets every cell of rows `row` to last_row() to 0.
  void ClearRowsFrom(int row);

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

  struct UnfilledTag {};
  LineGrid(int count, UnfilledTag);

  int last_row_;
  std::vector<float, UnclearedAllocator<float>> cells_;
};

// `count` as the count of a line: a whole number from 0 to kMaxCount. Throws RunError at
// `place`, naming the count's text `item`: kInput when it is not whole, kOverflow when it
// is beyond 16 bits or kMaxCount, kBounds when it is negative.
std::int16_t CheckedCount(double count, const ErrorPlace& place, std::string_view item);

#endif  // KELVANE_LINEFILES_LINE_GRID_H_
