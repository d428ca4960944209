#ifndef KELVANE_BASE_DECIMAL_NUMBER_H_
#define KELVANE_BASE_DECIMAL_NUMBER_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

enum class DecimalStatus { kOk, kNotNumber, kTooLarge };

// Reads the longest decimal number at the start of `text`: optional sign, digits with an
// optional period, optional exponent; no blanks, inf, nan or hex. Returns the number of
// characters it takes, 0 when `text` does not start with a number (`value` then unchanged).
// The value is the nearest one of the type: a magnitude too small reads as the nearest
// subnormal or zero, one too large as infinity.
std::size_t ReadLeadingDecimal(std::string_view text, float& value);
std::size_t ReadLeadingDecimal(std::string_view text, double& value);

// Reads all of `text` as one decimal number as above. kTooLarge when the magnitude is
// beyond the type's range (`value` is then infinity), kNotNumber when any of `text` is not
// part of the number (`value` unchanged).
DecimalStatus ParseDecimal(std::string_view text, float& value);
DecimalStatus ParseDecimal(std::string_view text, double& value);

// Appends the shortest decimal text that reads back as exactly `value`.
void AppendDecimal(std::string& out, float value);

}  // namespace kelvane

#endif  // KELVANE_BASE_DECIMAL_NUMBER_H_
