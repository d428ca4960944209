#ifndef KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
#define KELVANE_LINEFILES_LINE_TEXT_WRITER_H_

#include <string>

#include "linefiles/line_grid.h"

// The text of a line file for `grid`: rows 1 to 3 of column 0 on a line each, then one
// line of five comma-separated values for each data row. Every value is the shortest
// decimal that reads back as the same single; every line ends in CR LF.
std::string FormatLineText(const LineGrid& grid);

#endif  // KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
