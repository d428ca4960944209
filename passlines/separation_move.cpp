#include "passlines/separation_move.h"

#include <cmath>
#include <string>

#include "base/decimal_number.h"

namespace kelvane {

namespace {

struct RowValues {
  float race;
  float companion;
  float limit;
};

[[noreturn]] void FailRange(std::string_view what, const RowValues& row, const ErrorPlace& place) {
  std::string detail = "the " + std::string(what) + " of race value ";
  AppendDecimal(detail, row.race);
  detail += ", companion value ";
  AppendDecimal(detail, row.companion);
  detail += " and limit ";
  AppendDecimal(detail, row.limit);
  detail += " is outside single precision";
  throw RunError(ErrorKind::kFloatingPoint, place, detail);
}

// Every intermediate is formed in double from single operands and rounded to single
// once, where it is stored, so a result does not depend on the compiler's choice of
// register width.
float Stored(double value, std::string_view what, const RowValues& row, const ErrorPlace& place) {
  const auto single = static_cast<float>(value);
  if (!std::isfinite(single)) FailRange(what, row, place);
  return single;
}

}  // namespace

// With a limit of 0 or more, as the window gives, no stored value can leave single
// precision: the midpoint lies between two singles, and a limited move stops short of it.
// Only a negative or NaN limit from another caller can reach FailRange.
float MovedSeparation(float race, float companion, float limit, const ErrorPlace& place) {
  const RowValues row{race, companion, limit};
  const float midpoint = Stored((double{companion} + race) / 2.0, "midpoint", row, place);
  const float distance = Stored(std::fabs(double{midpoint} - race), "distance", row, place);
  // MidpointDistance is this distance, on the same singles.
  // Negated, so that a NaN limit keeps the midpoint rather than moving by NaN.
  if (!(distance > limit)) return midpoint;
  const double limited = midpoint > race ? double{race} + limit : double{race} - limit;
  return Stored(limited, "limited move", row, place);
}
float MidpointDistance(float race, float companion) {
  const auto midpoint = static_cast<float>((double{companion} + race) / 2.0);
  return static_cast<float>(std::fabs(double{midpoint} - race));
}
}  // namespace kelvane
