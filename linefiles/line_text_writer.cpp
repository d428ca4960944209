#include "linefiles/line_text_writer.h"

#include <charconv>

namespace {

// Enough for the shortest text of any single ("-1.1754944e-38") and a separator.
constexpr std::size_t kMaxValueChars = 16;

}  // namespace

// Written through a pointer into a buffer sized for the longest possible text, then cut
// to length: appending value by value costs a capacity check per character.
std::string FormatLineText(const LineGrid& grid) {
  std::string out(
      static_cast<std::size_t>(grid.last_row()) * (LineGrid::kColumns * kMaxValueChars + 2), '\0');
  char* next = out.data();
  for (int row = 1; row <= grid.last_row(); ++row) {
    const int columns = row <= LineGrid::kHeaderRows ? 1 : LineGrid::kColumns;
    for (int column = 0; column < columns; ++column) {
      if (column > 0) *next++ = ',';
      next = std::to_chars(next, next + kMaxValueChars, grid.at(row, column)).ptr;
    }
    *next++ = '\r';
    *next++ = '\n';
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
  return out;
}
