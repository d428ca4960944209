#ifndef KELVANE_LINEFILES_ITEM_SCANNER_H_
#define KELVANE_LINEFILES_ITEM_SCANNER_H_

#include <optional>
#include <string_view>

namespace kelvane {

// One item of a line file: its text, without surrounding blanks, and its line number.
struct Item {
  std::string_view text;
  int line = 0;
};

// Splits the text of a line file into items. Items are separated by commas and line
// breaks (LF, CRLF or CR); blanks and tabs around an item are dropped and blank lines are
// skipped. An empty item between two commas, or before or after a comma on its line, is
// returned as an empty text for the caller to reject. An item that is a number can be read
// as one straight away (NextSingle), the common case; the rest is taken as text (Next).
// The text must outlive the scanner.
class ItemScanner {
 public:
  explicit ItemScanner(std::string_view text) : rest_(text) {}

  // The next item, or nullopt at the end of the text.
  std::optional<Item> Next();

  // Reads the next item as a single-precision number in the one pass that finds its end:
  // true when all of it is a decimal number as ParseDecimal takes one, within range. False
  // for anything else (no item left, an empty item, text that is not a number, a magnitude
  // too large), with that item left for Next to return.
  bool NextSingle(float& value);

  // The number of the last line that held an item (1 before any item).
  int last_line() const { return last_line_; }

 private:
  // Skips blanks, and line breaks too unless an item must follow a comma; false at the
  // end of the text.
  bool SkipToItem();

  std::string_view rest_;
  bool after_comma_ = false;
  int line_ = 1;
  int last_line_ = 1;
};

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_ITEM_SCANNER_H_
