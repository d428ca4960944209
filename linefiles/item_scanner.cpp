#include "linefiles/item_scanner.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

ItemScanner::ItemScanner(std::string_view text) : rest_(text) {
  if (rest_.starts_with(kByteOrderMark)) rest_.remove_prefix(kByteOrderMark.size());
}

std::optional<Item> ItemScanner::Next() {
  if (!in_line_ && !StartLine()) return std::nullopt;
  const std::size_t comma = line_.find(',');
  const std::string_view text = Trimmed(line_.substr(0, comma));
  if (comma == std::string_view::npos) {
    in_line_ = false;
  } else {
    line_.remove_prefix(comma + 1);
  }
  last_line_ = line_number_;
  return Item{text, line_number_};
}

bool ItemScanner::StartLine() {
  while (!rest_.empty()) {
    const std::size_t end = rest_.find_first_of("\r\n");
    line_ = rest_.substr(0, end);
    std::size_t next = end == std::string_view::npos ? rest_.size() : end + 1;
    if (end != std::string_view::npos && rest_[end] == '\r' && next < rest_.size() &&
        rest_[next] == '\n') {
      ++next;
    }
    rest_.remove_prefix(next);
    ++line_number_;
    if (!Trimmed(line_).empty()) {
      in_line_ = true;
      return true;
    }
  }
  return false;
}
