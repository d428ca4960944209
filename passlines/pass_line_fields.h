#ifndef KELVANE_PASSLINES_PASS_LINE_FIELDS_H_
#define KELVANE_PASSLINES_PASS_LINE_FIELDS_H_

#include <optional>

#include "linefiles/line_grid.h"

// What the pass-line computation reads and fills: the limit in meters and the five grids
// of one run. The window owns one; a test can own one without a window.
struct PassLineFields {
  float MaxSeparation = 0;
  std::optional<LineGrid> RaceGrid;
  std::optional<LineGrid> MaxRaceGrid;
  std::optional<LineGrid> MinRaceGrid;
  std::optional<LineGrid> Pass1Grid;
  std::optional<LineGrid> Pass2Grid;
};

#endif  // KELVANE_PASSLINES_PASS_LINE_FIELDS_H_
