#include "base/decimal_number.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>

namespace kelvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

template <typename T>
std::size_t ReadLeading(std::string_view text, T& value) {
  // fast_float takes no '+' and does take inf and nan: both are settled here.
  const std::size_t sign = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  const std::string_view unsigned_part = text.substr(sign);
  if (unsigned_part.empty() || !(IsDigit(unsigned_part[0]) || unsigned_part[0] == '.')) return 0;
  T parsed{};
  const auto result = fast_float::from_chars(unsigned_part.data(),
                                             unsigned_part.data() + unsigned_part.size(), parsed);
  // From version 4 on, fast_float says result_out_of_range for a magnitude beyond the type
  // (the value is then infinity) or below its least subnormal (the value is then zero);
  // earlier versions give the same values and say nothing.
  if (result.ec != std::errc() && result.ec != std::errc::result_out_of_range) return 0;
  value = text.starts_with('-') ? -parsed : parsed;
  return static_cast<std::size_t>(result.ptr - text.data());
}

template <typename T>
DecimalStatus Parse(std::string_view text, T& value) {
  T parsed{};
  if (text.empty() || ReadLeading(text, parsed) != text.size()) return DecimalStatus::kNotNumber;
  value = parsed;
  return std::isinf(parsed) ? DecimalStatus::kTooLarge : DecimalStatus::kOk;
}

}  // namespace

std::size_t ReadLeadingDecimal(std::string_view text, float& value) {
  return ReadLeading(text, value);
}

std::size_t ReadLeadingDecimal(std::string_view text, double& value) {
  return ReadLeading(text, value);
}

DecimalStatus ParseDecimal(std::string_view text, float& value) { return Parse(text, value); }

DecimalStatus ParseDecimal(std::string_view text, double& value) { return Parse(text, value); }

void AppendDecimal(std::string& out, float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}
}  // namespace kelvane
