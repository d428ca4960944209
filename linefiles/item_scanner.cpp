#include "linefiles/item_scanner.h"

#include <array>
#include <cmath>

#include "base/decimal_number.h"

namespace kelvane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The characters that end an item, as a table: the scan's inner loop.
constexpr auto kEndsItem = [] {
  std::array<bool, 256> table{};
  table[','] = table['\n'] = table['\r'] = true;
  return table;
}();

bool EndsItem(char c) { return kEndsItem[static_cast<unsigned char>(c)]; }

}  // namespace

std::optional<Item> ItemScanner::Next() {
  if (!SkipToItem()) return std::nullopt;
  std::size_t length = 0;
  while (length < rest_.size() && !EndsItem(rest_[length])) ++length;
  std::size_t trimmed = length;
  while (trimmed > 0 && IsBlank(rest_[trimmed - 1])) --trimmed;
  const Item item{rest_.substr(0, trimmed), line_};
  after_comma_ = length < rest_.size() && rest_[length] == ',';
  rest_.remove_prefix(after_comma_ ? length + 1 : length);
  last_line_ = line_;
  return item;
}

bool ItemScanner::NextSingle(float& value) {
  if (!SkipToItem()) return false;
  float parsed = 0;
  const std::size_t length = ReadLeadingDecimal(rest_, parsed);
  if (length == 0 || std::isinf(parsed)) return false;
  // No character that ends an item or a blank can continue a number, so a number followed
  // by blanks and an item's end is the whole item.
  std::size_t end = length;
  while (end < rest_.size() && IsBlank(rest_[end])) ++end;
  if (end < rest_.size() && !EndsItem(rest_[end])) return false;
  value = parsed;
  after_comma_ = end < rest_.size() && rest_[end] == ',';
  rest_.remove_prefix(after_comma_ ? end + 1 : end);
  last_line_ = line_;
  return true;
}

bool ItemScanner::SkipToItem() {
  while (!rest_.empty()) {
    const char c = rest_.front();
    if (IsBlank(c)) {
      rest_.remove_prefix(1);
    } else if ((c == '\n' || c == '\r') && !after_comma_) {
      rest_.remove_prefix(rest_.starts_with("\r\n") ? 2 : 1);
      ++line_;
    } else {
      return true;
    }
  }
  return after_comma_;  // a comma at the very end leaves one empty item
}
}  // namespace kelvane
