#ifndef KELVANE_PASSLINES_SEPARATION_MOVE_H_
#define KELVANE_PASSLINES_SEPARATION_MOVE_H_

#include "base/run_error.h"

namespace kelvane {

// The separation coordinate of a pass line for one row: halfway from `race` toward
// `companion`, but never further from `race` than `limit`; when the midpoint lies
// further, the result is race + limit or race - limit on the midpoint's side. A distance
// equal to the limit keeps the midpoint. Throws RunError(kFloatingPoint) at `place` when
// a stored value falls outside single precision.
float MovedSeparation(float race, float companion, float limit, const ErrorPlace& place);

// How far MovedSeparation's midpoint lies from `race`: a limit below it holds the pass line
// back in this row, one at it or above does not.
float MidpointDistance(float race, float companion);

// Whether `limit` holds the pass line back in this row: MidpointDistance exceeds it.
inline bool HeldByLimit(float race, float companion, float limit) {
  return MidpointDistance(race, companion) > limit;
}

}  // namespace kelvane

#endif  // KELVANE_PASSLINES_SEPARATION_MOVE_H_
