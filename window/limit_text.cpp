#include "window/limit_text.h"

#include <cmath>

#include "linefiles/decimal_number.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t DigitsFrom(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// The length of the longest leading decimal number of `text`, 0 if there is none.
std::size_t LeadingNumberLength(std::string_view text) {
  std::size_t at = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
  const std::size_t integer_end = DigitsFrom(text, at);
  std::size_t end = integer_end;
  bool has_digits = integer_end > at;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction_end = DigitsFrom(text, end + 1);
    has_digits = has_digits || fraction_end > end + 1;
    end = fraction_end;
  }
  if (!has_digits) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
    const std::size_t exponent_end = DigitsFrom(text, exponent);
    if (exponent_end > exponent) end = exponent_end;
  }
  return end;
}

}  // namespace

LimitReading ReadLimitText(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  double value = 0;
  const DecimalStatus status = ParseDecimal(text.substr(0, LeadingNumberLength(text)), value);
  if (status == DecimalStatus::kNotNumber) return {0, LimitProblem::kNotANumber};
  const auto meters = static_cast<float>(value);
  if (status == DecimalStatus::kTooLarge || !std::isfinite(meters)) {
    return {0, LimitProblem::kTooLarge};
  }
  if (meters < 0) return {0, LimitProblem::kNegative};
  return {meters, LimitProblem::kNone};
}

std::string_view RefusalMessage(LimitProblem problem) {
  switch (problem) {
    case LimitProblem::kNone:
      return "";
    case LimitProblem::kNotANumber:
      return "Enter the limit as a number of meters, such as 4 or 2.5.";
    case LimitProblem::kNegative:
      return "The limit cannot be negative. Enter 0 meters or more.";
    case LimitProblem::kTooLarge:
      return "The limit is too large. Enter a number of meters, such as 4 or 2.5.";
  }
  return "";
}
