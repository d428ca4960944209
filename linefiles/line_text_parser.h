#ifndef KELVANE_LINEFILES_LINE_TEXT_PARSER_H_
#define KELVANE_LINEFILES_LINE_TEXT_PARSER_H_

#include <cstdint>
#include <string_view>

#include "linefiles/line_grid.h"

struct ParsedLine {
  LineGrid grid;
  std::int16_t count;
};

// Reads the text of a line file: header values A and B, the count N, then data rows of
// five numbers to the end of the text, wherever its lines break. Rows the text lacks
// stay 0. `file` names the text in error messages ("Race.txt:7: ...").
// Throws RunError: kInput for an item that is not a number, a count that is not whole,
// or a text that ends before the count or inside a data row; kOverflow for a number
// beyond single precision or a count above 32764; kBounds for a negative count or a
// data row beyond the count.
ParsedLine ParseLineText(std::string_view text, std::string_view file);

#endif  // KELVANE_LINEFILES_LINE_TEXT_PARSER_H_
