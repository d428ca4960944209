#include "linefiles/item_scanner.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text without blanks and tabs at either end. A hand loop: items rarely have any,
// and string_view's find_first_not_of costs a set search for every character.
std::string_view Trimmed(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// The length of the line at the start of `text`, up to but not including its break.
std::size_t LineLength(std::string_view text) {
  std::size_t length = 0;
  while (length < text.size() && text[length] != '\n' && text[length] != '\r') ++length;
  return length;
}

}  // namespace

ItemScanner::ItemScanner(std::string_view text) : rest_(text) {}

std::optional<Item> ItemScanner::Next() {
  if (!in_line_ && !StartLine()) return std::nullopt;
  const auto* comma = static_cast<const char*>(std::memchr(line_.data(), ',', line_.size()));
  const std::size_t length = comma ? static_cast<std::size_t>(comma - line_.data()) : line_.size();
  const std::string_view text = Trimmed(line_.substr(0, length));
  if (comma) {
    line_.remove_prefix(length + 1);
  } else {
    in_line_ = false;
  }
  last_line_ = line_number_;
  return Item{text, line_number_};
}

bool ItemScanner::StartLine() {
  while (!rest_.empty()) {
    const std::size_t length = LineLength(rest_);
    line_ = rest_.substr(0, length);
    std::size_t next = length;
    if (next < rest_.size()) next += rest_.substr(next, 2) == "\r\n" ? 2 : 1;
    rest_.remove_prefix(next);
    ++line_number_;
    if (!Trimmed(line_).empty()) {
      in_line_ = true;
      return true;
    }
  }
  return false;
}
