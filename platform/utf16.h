#ifndef KELVANE_PLATFORM_UTF16_H_
#define KELVANE_PLATFORM_UTF16_H_

#include <string>
#include <string_view>

namespace kelvane {

// Conversions between the UTF-8 the program's texts are kept in and the UTF-16 of the
// Windows W functions. Malformed input becomes U+FFFD.
std::string Utf8(std::wstring_view text);
std::wstring Utf16(std::string_view text);

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_UTF16_H_
