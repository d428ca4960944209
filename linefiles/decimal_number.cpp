#include "linefiles/decimal_number.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A sign, then a digit or a period: rules out inf, nan, "+-1" and blanks, which
// std::from_chars would otherwise take or which it leaves to us.
bool StartsLikeNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return !text.empty() && (IsDigit(text.front()) || text.front() == '.');
}

// The power of ten of the leading nonzero digit of a well-formed decimal text, used only
// to tell an underflow from an overflow; saturates on absurd exponents.
long LeadingPower(std::string_view text) {
  const std::size_t e = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t lead = mantissa.find_first_of("123456789");
  if (lead == std::string_view::npos) return LONG_MIN;
  long power =
      lead < point ? static_cast<long>(point - lead) - 1 : -static_cast<long>(lead - point);
  if (e == std::string_view::npos) return power;
  std::string_view exponent = text.substr(e + 1);
  if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
  long value = 0;
  const auto [ptr, ec] = std::from_chars(exponent.data(), exponent.data() + exponent.size(), value);
  if (ec == std::errc::result_out_of_range) return exponent.front() == '-' ? LONG_MIN : LONG_MAX;
  // power is bounded by the text's length, so halving the exponent's range keeps the sum
  // from overflowing without changing its sign.
  return power + std::clamp(value, LONG_MIN / 2, LONG_MAX / 2);
}

template <typename T>
DecimalStatus Parse(std::string_view text, T& value) {
  if (!StartsLikeNumber(text)) return DecimalStatus::kNotNumber;
  const bool negative = text.front() == '-';
  if (text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  T parsed{};
  const auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
  if (ptr != end) return DecimalStatus::kNotNumber;
  if (ec == std::errc::result_out_of_range) {
    if (LeadingPower(text) >= 0) return DecimalStatus::kTooLarge;
    parsed = negative ? -T{0} : T{0};
  } else if (ec != std::errc()) {
    return DecimalStatus::kNotNumber;
  }
  value = parsed;
  return DecimalStatus::kOk;
}

}  // namespace

DecimalStatus ParseDecimal(std::string_view text, float& value) { return Parse(text, value); }

DecimalStatus ParseDecimal(std::string_view text, double& value) { return Parse(text, value); }

void AppendDecimal(std::string& out, float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}
