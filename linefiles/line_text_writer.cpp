#include "linefiles/line_text_writer.h"

#include <algorithm>
#include <string>

#include "linefiles/decimal_number.h"
#include "linefiles/run_error.h"

namespace {

// Enough for five shortest singles ("-1.1754944e-38"), four commas and CR LF.
constexpr std::size_t kMaxRowChars = 5 * 15 + 4 + 2;

void AppendRow(std::string& out, const LineGrid& grid, int row) {
  for (int column = 0; column < LineGrid::kColumns; ++column) {
    if (column > 0) out += ',';
    AppendDecimal(out, grid.at(row, column));
  }
  out += "\r\n";
}

}  // namespace

std::string FormatLineText(const LineGrid& grid, int count, std::string_view file) {
  if (count > LineGrid::kMaxCount) {
    throw RunError(ErrorKind::kOverflow, ErrorPlace{file, 0},
                   "a count of " + std::to_string(count) + " rows is more than a line can hold");
  }
  const int last_row = count + LineGrid::kHeaderRows;
  if (last_row > grid.last_row()) {
    throw RunError(ErrorKind::kBounds, ErrorPlace{file, grid.last_row() + 1},
                   "the line has " + std::to_string(grid.last_row() - LineGrid::kHeaderRows) +
                       " data rows, fewer than the " + std::to_string(count) + " to be written");
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(std::max(last_row, 3)) * kMaxRowChars);
  for (int row = 1; row <= LineGrid::kHeaderRows; ++row) {
    AppendDecimal(out, grid.at(row, 0));
    out += "\r\n";
  }
  for (int row = LineGrid::kHeaderRows + 1; row <= last_row; ++row) AppendRow(out, grid, row);
  return out;
}
