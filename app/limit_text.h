#ifndef KELVANE_APP_LIMIT_TEXT_H_
#define KELVANE_APP_LIMIT_TEXT_H_

#include <string_view>

namespace kelvane {

// The limit's text when nobody typed another.
inline constexpr std::string_view kDefaultLimit = "4";

// Why a typed limit is refused.
enum class LimitProblem { kNone, kNotANumber, kDecimalComma, kNegative, kTooLarge };

struct LimitReading {
  float meters = 0;
  LimitProblem problem = LimitProblem::kNone;
};

// Reads the separation limit from the UTF-8 text the user typed: leading white space of
// any kind (blanks, tabs, line breaks, Unicode spaces) is skipped, then the longest
// leading decimal number is taken (sign, digits, a period as the decimal separator
// whatever the locale, exponent) and the rest ignored, so "2.5 m" gives 2.5. The value is
// rounded to single precision. The problem is kNotANumber when the text does not begin
// with a number, kDecimalComma when the number is followed by a comma and a digit ("2,5",
// which would otherwise silently read as 2), kNegative below 0, and kTooLarge when the
// value is not finite in single precision.
LimitReading ReadLimitText(std::string_view text);

// A short sentence for the user saying what is expected instead; "" for kNone.
std::string_view RefusalMessage(LimitProblem problem);

}  // namespace kelvane

#endif  // KELVANE_APP_LIMIT_TEXT_H_
