#ifndef KELVANE_LINEFILES_LINE_TEXT_PARSER_H_
#define KELVANE_LINEFILES_LINE_TEXT_PARSER_H_

#include <string_view>
#include <vector>

#include "linefiles/line_grid.h"

namespace kelvane {

// Reads the bytes of a line file (decoded by DecodeLineText): header values A and B, the
// count N, then data rows of five numbers to the end of the text, wherever its lines
// break. Rows the text lacks stay 0. `file` names the text in error messages
// ("Race.txt:7: ..."). Throws RunError: kInput for an item that is not a number or a text
// that ends before the count or inside a data row; kOverflow for a number beyond single
// precision; the errors of CheckedCount; kBounds for a data row beyond the count. Where
// `row_lines` is given, it receives the line each data row the text has begins on.
LineGrid ParseLineText(std::string_view bytes, std::string_view file,
                       std::vector<int>* row_lines = nullptr);

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_LINE_TEXT_PARSER_H_
