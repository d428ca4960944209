#ifndef KELVANE_LINEFILES_GLOBALS_H_
#define KELVANE_LINEFILES_GLOBALS_H_

#include <cstdint>
#include <optional>

#include "linefiles/line_grid.h"

// The hand-over point between the line file routines and the pass-line computation.
// ReadLineFile fills both from the file it reads; WriteLineFile writes SharedGrid with
// SharedCount data rows. Absent until the first successful read.
inline std::optional<LineGrid> SharedGrid;
inline std::int16_t SharedCount = 0;

#endif  // KELVANE_LINEFILES_GLOBALS_H_
