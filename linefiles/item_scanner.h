#ifndef KELVANE_LINEFILES_ITEM_SCANNER_H_
#define KELVANE_LINEFILES_ITEM_SCANNER_H_

#include <optional>
#include <string_view>

// One item of a line file: its text, without surrounding blanks, and its line number.
struct Item {
  std::string_view text;
  int line = 0;
};

// Splits the text of a line file into items. Items are separated by commas and line
// breaks (LF, CRLF or CR); blanks and tabs around an item are dropped, blank lines
// are skipped. An empty item between two commas, or before or after a comma, is returned
// as an empty text for the caller to reject. The scanned text must outlive the scanner and its
// items.
class ItemScanner {
 public:
  explicit ItemScanner(std::string_view text);

  // The next item, or nullopt at the end of the text.
  std::optional<Item> Next();

  // The number of the last line that held an item (1 before any item).
  int last_line() const { return last_line_; }

 private:
  // Moves to the next line that is not blank; false at the end of the text.
  bool StartLine();

  std::string_view rest_;  // unscanned text of the current line and all after it
  std::string_view line_;  // unscanned part of the current line
  bool in_line_ = false;
  int line_number_ = 0;
  int last_line_ = 1;
};

#endif  // KELVANE_LINEFILES_ITEM_SCANNER_H_
