#ifndef KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
#define KELVANE_LINEFILES_LINE_TEXT_WRITER_H_

#include <span>
#include <string>
#include <vector>

#include "linefiles/line_grid.h"

// The text of a line file for each of `grids`, in order: rows 1 to 3 of column 0 on a
// line each, then one line of five comma-separated values for each data row. Every value
// is the shortest decimal that reads back as the same single; every line ends in CR LF.
// A cell with the same bits as the same cell of the grid before is copied from that grid's
// text rather than written again: pass lines share all but one column, and writing a value
// costs far more than copying it.
std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids);

#endif  // KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
