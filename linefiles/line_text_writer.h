#ifndef KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
#define KELVANE_LINEFILES_LINE_TEXT_WRITER_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/content_sink.h"
#include "linefiles/line_grid.h"

namespace kelvane {

// Writes the text of a line file for each of `grids` to the sink of the same place, in
// pieces of at most 64 KiB formed in one buffer per grid, so that no text is ever whole in
// memory: rows 1 to 3 of column 0 on a line each, then one line of five comma-separated
// values for each data row. Every value is the shortest decimal that reads back as the
// same single; every line ends in CR LF. The grids are written row by row together, and a
// cell with the same bits as the same cell of the grid before is copied from that grid's
// row rather than formatted again: pass lines share all but one column, and formatting a
// value costs far more than copying it.
void WriteLineTexts(std::span<const LineGrid* const> grids, std::span<const ContentSink> sinks);

// The text WriteLineTexts writes for each of `grids`, in order, whole.
std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids);

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_LINE_TEXT_WRITER_H_
