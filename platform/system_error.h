#ifndef KELVANE_PLATFORM_SYSTEM_ERROR_H_
#define KELVANE_PLATFORM_SYSTEM_ERROR_H_

#include <string>

namespace kelvane {

// The system's error code: errno, or GetLastError() on Windows; 0 for success.
using SystemError = unsigned long;

// A file found at a name when it was checked is no longer the one there: an error of the
// program's own, outside every system's codes (on Windows, the bit kept for applications).
inline constexpr SystemError kChangedMeanwhile = 0x20000000;

// The system's wording of `error`, such as "Permission denied".
std::string ReasonOf(SystemError error);

// Passes over `error` on purpose, where a step is a courtesy (a clean-up, a setting the file
// system may refuse) whose failure changes nothing the caller promises.
inline void Ignore(SystemError /*error*/) {}

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_SYSTEM_ERROR_H_
