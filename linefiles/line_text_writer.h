#ifndef KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
#define KELVANE_LINEFILES_LINE_TEXT_WRITER_H_

#include <string>
#include <string_view>

#include "linefiles/line_grid.h"

// The text of a line file for `grid`: rows 1 to 3 of column 0 on a line each, then one
// line of five comma-separated values for each of rows 4 to count+3. Every value is the
// shortest decimal that reads back as the same single, every line ends in CR LF.
// Throws RunError naming `file` and the output line: kBounds when the grid has fewer
// than `count` data rows, kOverflow when count+3 does not fit 16 bits.
std::string FormatLineText(const LineGrid& grid, int count, std::string_view file);

#endif  // KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
