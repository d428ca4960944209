#include "linefiles/line_text_writer.h"

#include "linefiles/decimal_number.h"

namespace {

// Enough for five shortest singles ("-1.1754944e-38"), four commas and CR LF.
constexpr std::size_t kMaxRowChars = 5 * 15 + 4 + 2;

void AppendRow(std::string& out, const LineGrid& grid, int row, int columns) {
  for (int column = 0; column < columns; ++column) {
    if (column > 0) out += ',';
    AppendDecimal(out, grid.at(row, column));
  }
  out += "\r\n";
}

}  // namespace

std::string FormatLineText(const LineGrid& grid) {
  std::string out;
  out.reserve(static_cast<std::size_t>(grid.last_row()) * kMaxRowChars);
  for (int row = 1; row <= grid.last_row(); ++row) {
    AppendRow(out, grid, row, row <= LineGrid::kHeaderRows ? 1 : LineGrid::kColumns);
  }
  return out;
}
