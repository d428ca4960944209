#ifndef KELVANE_LINEFILES_LINE_GRID_H_
#define KELVANE_LINEFILES_LINE_GRID_H_

#include <cstdint>
#include <vector>

// One line in memory: rows 1 to count+3 of five single-precision columns (0 to 4).
// Rows 1 and 2 hold the two header values in column 0, row 3 the count, and row k+3
// data row k. A plain value: copying a grid copies its cells.
class LineGrid {
 public:
  static constexpr int kColumns = 5;
  static constexpr int kHeaderRows = 3;
  // The largest count whose last row, count+3, still fits a 16-bit signed number.
  static constexpr int kMaxCount = INT16_MAX - kHeaderRows;

  // A grid for `count` data rows with every cell 0. Throws RunError: kOverflow when
  // count > kMaxCount, kBounds when count < 0 (no room for the header rows).
  explicit LineGrid(int count);

  int last_row() const { return last_row_; }

  // The cell at (row, column). Throws RunError(kBounds) outside rows 1..last_row()
  // or columns 0..4.
  float& at(int row, int column);
  float at(int row, int column) const;

  // Throws RunError(kBounds) unless row lies in 1..last_row().
  void CheckRow(int row) const;

  friend bool operator==(const LineGrid&, const LineGrid&) = default;

 private:
  std::size_t Index(int row, int column) const;

  int last_row_;
  std::vector<float> cells_;
};

#endif  // KELVANE_LINEFILES_LINE_GRID_H_
