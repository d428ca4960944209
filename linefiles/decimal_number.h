#ifndef KELVANE_LINEFILES_DECIMAL_NUMBER_H_
#define KELVANE_LINEFILES_DECIMAL_NUMBER_H_

#include <string>
#include <string_view>

enum class DecimalStatus { kOk, kNotNumber, kTooLarge };

// Reads `text`, all of it, as a decimal number: optional sign, digits with an optional
// period, optional exponent. The value is the nearest one of the type; a magnitude too
// small for it reads as the nearest subnormal or zero. kTooLarge when the magnitude is
// beyond the type's range, kNotNumber for anything else (blanks, inf, nan, hex, "").
DecimalStatus ParseDecimal(std::string_view text, float& value);
DecimalStatus ParseDecimal(std::string_view text, double& value);

// Appends the shortest decimal text that reads back as exactly `value`.
void AppendDecimal(std::string& out, float value);

#endif  // KELVANE_LINEFILES_DECIMAL_NUMBER_H_
