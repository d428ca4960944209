#ifndef KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
#define KELVANE_LINEFILES_LINE_TEXT_WRITER_H_

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "linefiles/line_grid.h"

// Writes the text of a line file for `grid` to `sink`, in pieces of at most 64 KiB formed
// in one buffer, so that the text is never whole in memory: rows 1 to 3 of column 0 on a
// line each, then one line of five comma-separated values for each data row. Every value
// is the shortest decimal that reads back as the same single; every line ends in CR LF.
void WriteLineText(const LineGrid& grid, const std::function<void(std::string_view)>& sink);

// The text WriteLineText writes for each of `grids`, in order, whole.
std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids);

#endif  // KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
