#include "base/run_error.h"

#include <utility>

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

// The code point of the valid UTF-8 sequence that starts `text` and its length in bytes;
// length 0 where none starts there (a stray, overlong or cut sequence, or a surrogate).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text) {
  const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return {0, 0};
  char32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    c = (c << 6) | (byte(i) & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
  return {c, length};
}

// What a terminal or a text view may take as a command, a line break or a change of
// direction: the C0 and C1 controls, DEL, the line and paragraph separators, and the bidi
// embeddings, overrides and isolates.
bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
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
  for (std::size_t at = 0; at < text.size();) {
    const auto [c, length] = DecodeUtf8(text.substr(at));
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length == 0) {  // not UTF-8: a byte of another encoding shown as it is, but a C1 one
      if (byte >= 0x80 && byte <= 0x9F) {
        AppendHex(shown, text[at]);
      } else {
        shown += text[at];
      }
      ++at;
    } else if (c < 0x80 && IsControl(c)) {
      AppendHex(shown, text[at++]);
    } else if (IsControl(c)) {
      constexpr std::string_view kHex = "0123456789ABCDEF";
      shown += "\\u{";
      for (int shift = c > 0xFF ? 12 : 4; shift >= 0; shift -= 4) shown += kHex[(c >> shift) & 0xF];
      shown += '}';
      at += length;
    } else {
      shown.append(text.substr(at, length));
      at += length;
    }
  }
  return shown;
}
}  // namespace kelvane
