#ifndef KELVANE_BASE_RUN_ERROR_H_
#define KELVANE_BASE_RUN_ERROR_H_

#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvane {

// What went wrong, in the terms a user sees in the error report.
enum class ErrorKind {
  kBounds,         // a grid cell outside the grid, or a count that cannot hold its rows
  kOverflow,       // a number or count too large for where it must go
  kFloatingPoint,  // a computed value outside single precision
  kFile,           // a file that is missing or cannot be read or written
  kInput,          // text that is not what a line file must hold
  kBusy,           // files that another run is replacing right now
};

// "bounds error", "overflow error", ...
std::string_view KindName(ErrorKind kind);

// Where a fault lies: a file and a 1-based line in it (0 when no line applies).
struct ErrorPlace {
  std::string_view file;
  int line = 0;
};

// The one error type of the program. what() is the message alone, in the shape
// "Race.txt:7: "abc" is not a number"; Report() puts the kind in front of it.
class RunError : public std::runtime_error {
 public:
  RunError(ErrorKind kind, const std::string& message);
  RunError(ErrorKind kind, const ErrorPlace& place, std::string_view detail);

  ErrorKind kind() const { return kind_; }
  // "input error: Race.txt:7: "abc" is not a number"
  std::string Report() const;

 private:
  ErrorKind kind_;
};

// An item of a file as a message shows it: in double quotes, bytes that are not printable
// ASCII written as \xHH, and cut after 40 characters with "…" and the item's length, so
// that no item can hide, garble or swamp the message.
std::string QuotedItem(std::string_view item);

// `text` with each control written out, so that it stays on one line, reads in its own
// order and no byte of it reaches a terminal as a command: a byte below 0x20, 0x7F, and a
// byte 0x80-0x9F outside valid UTF-8 as \xHH; a C1 control (U+0080-U+009F), a line or
// paragraph separator (U+2028, U+2029) and a bidi control (U+202A-U+202E, U+2066-U+2069) as
// \u{HH} or \u{HHHH}. Any other text, valid UTF-8 or not, stays as it is.
std::string WithoutControls(std::string_view text);

}  // namespace kelvane

#endif  // KELVANE_BASE_RUN_ERROR_H_
