#include "app/limit_text.h"

#include <array>
#include <cmath>

#include "base/decimal_number.h"

namespace kelvane {

namespace {

// Unicode's white space in UTF-8, and the zero-width no-break space that pasted text
// often carries at its start.
constexpr std::array<std::string_view, 25> kWhiteSpace = {
    " ",
    "\t",
    "\n",
    "\v",
    "\f",
    "\r",
    "\xC2\x85",
    "\xC2\xA0",
    "\xE1\x9A\x80",
    "\xE2\x80\x80",
    "\xE2\x80\x81",
    "\xE2\x80\x82",
    "\xE2\x80\x83",
    "\xE2\x80\x84",
    "\xE2\x80\x85",
    "\xE2\x80\x86",
    "\xE2\x80\x87",
    "\xE2\x80\x88",
    "\xE2\x80\x89",
    "\xE2\x80\x8A",
    "\xE2\x80\xA8",
    "\xE2\x80\xA9",
    "\xE2\x80\xAF",
    "\xE2\x81\x9F",
    "\xE3\x80\x80",
};
constexpr std::string_view kZeroWidthNoBreakSpace = "\xEF\xBB\xBF";

std::size_t LeadingSpaceLength(std::string_view text) {
  if (text.starts_with(kZeroWidthNoBreakSpace)) return kZeroWidthNoBreakSpace.size();
  for (const std::string_view space : kWhiteSpace) {
    if (text.starts_with(space)) return space.size();
  }
  return 0;
}

}  // namespace

LimitReading ReadLimitText(std::string_view text) {
  while (const std::size_t space = LeadingSpaceLength(text)) text.remove_prefix(space);
  double value = 0;
  const std::size_t length = ReadLeadingDecimal(text, value);
  if (length == 0) return {0, LimitProblem::kNotANumber};
  const std::string_view rest = text.substr(length);
  if (rest.size() > 1 && rest[0] == ',' && rest[1] >= '0' && rest[1] <= '9') {
    return {0, LimitProblem::kDecimalComma};
  }
  const auto meters = static_cast<float>(value);
  if (!std::isfinite(meters)) return {0, LimitProblem::kTooLarge};
  if (meters < 0) return {0, LimitProblem::kNegative};
  return {meters, LimitProblem::kNone};
}

std::string_view RefusalMessage(LimitProblem problem) {
  switch (problem) {
    case LimitProblem::kNone:
      return "";
    case LimitProblem::kNotANumber:
      return "Enter the limit as a number of meters, such as 4 or 2.5.";
    case LimitProblem::kDecimalComma:
      return "Write the limit with a period as the decimal separator, such as 2.5 (not 2,5).";
    case LimitProblem::kNegative:
      return "The limit cannot be negative. Enter 0 meters or more.";
    case LimitProblem::kTooLarge:
      return "The limit is too large. Enter a number of meters, such as 4 or 2.5.";
  }
  return "";
}
}  // namespace kelvane
