#include "base/run_error.h"

namespace kelvane {

namespace {

constexpr std::size_t kMaxQuotedChars = 40;

std::string PlacedMessage(const ErrorPlace& place, std::string_view detail) {
  std::string message(place.file);
  if (place.line > 0) message += ':' + std::to_string(place.line);
  if (!message.empty()) message += ": ";
  message += detail;
  return message;
}

void AppendHex(std::string& out, char c) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

void AppendEscaped(std::string& out, char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x20 && byte < 0x7F && c != '\\') {
    out += c;
  } else {
    AppendHex(out, c);
  }
}

}  // namespace

std::string_view KindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kBounds:
      return "bounds error";
    case ErrorKind::kOverflow:
      return "overflow error";
    case ErrorKind::kFloatingPoint:
      return "floating-point error";
    case ErrorKind::kFile:
      return "file error";
    case ErrorKind::kInput:
      return "input error";
    case ErrorKind::kBusy:
      return "files busy";
  }
  return "error";
}

RunError::RunError(ErrorKind kind, const std::string& message)
    : std::runtime_error(message), kind_(kind) {}

RunError::RunError(ErrorKind kind, const ErrorPlace& place, std::string_view detail)
    : RunError(kind, PlacedMessage(place, detail)) {}

std::string RunError::Report() const { return std::string(KindName(kind_)) + ": " + what(); }

std::string QuotedItem(std::string_view item) {
  std::string quoted = "\"";
  for (const char c : item.substr(0, kMaxQuotedChars)) AppendEscaped(quoted, c);
  if (item.size() <= kMaxQuotedChars) return quoted + "\"";
  return quoted + "\xE2\x80\xA6\" (" + std::to_string(item.size()) + " characters)";
}

std::string WithoutControls(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      AppendHex(shown, c);
    } else {
      shown += c;
    }
  }
  return shown;
}
}  // namespace kelvane
