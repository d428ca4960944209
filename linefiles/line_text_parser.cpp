#include "linefiles/line_text_parser.h"

#include <optional>
#include <string>

#include "base/decimal_number.h"
#include "linefiles/item_scanner.h"
#include "linefiles/line_text_encoding.h"

namespace kelvane {

namespace {

class LineTextParser {
 public:
  LineTextParser(std::string_view text, std::string_view file, std::vector<int>* row_lines)
      : scanner_(text), file_(file), row_lines_(row_lines) {}

  LineGrid Parse() {
    const float a = Required(NextSingle(), "header value A");
    const float b = Required(NextSingle(), "header value B");
    LineGrid grid(ReadCount());
    grid.at(1, 0) = a;
    grid.at(2, 0) = b;
    int row = LineGrid::kHeaderRows + 1;
    for (; auto first = NextSingle(); ++row) ReadRow(*first, row, grid);
    return grid;
  }

 private:
  // `first`, the number just read, and the rest of its data row.
  void ReadRow(float first, int row, LineGrid& grid) {
    const int data_row = row - LineGrid::kHeaderRows;
    if (row > grid.last_row()) {
      Fail(ErrorKind::kBounds, scanner_.last_line(),
           "data row " + std::to_string(data_row) + " is more than the count of " +
               std::to_string(grid.count()));
    }
    grid.at(row, 0) = first;
    if (row_lines_ != nullptr) row_lines_->push_back(scanner_.last_line());
    for (int column = 1; column < LineGrid::kColumns; ++column) {
      const auto value = NextSingle();
      if (!value) {
        Fail(ErrorKind::kInput, scanner_.last_line(),
             "the file ends inside data row " + std::to_string(data_row) + ", after " +
                 std::to_string(column) + " of its 5 numbers");
      }
      grid.at(row, column) = *value;
    }
  }

  // The next item as a number, nullopt at the end of the text. Throws for an item that is
  // not a number or is too large.
  std::optional<float> NextSingle() {
    float value = 0;
    if (scanner_.NextSingle(value)) return value;
    const auto item = scanner_.Next();
    if (!item) return std::nullopt;
    return ToSingle(*item);
  }

  float Required(std::optional<float> value, std::string_view expected) {
    if (!value) FailEnd(expected);
    return *value;
  }

  Item NextItem(std::string_view expected) {
    auto item = scanner_.Next();
    if (!item) FailEnd(expected);
    return *item;
  }

  float ToSingle(const Item& item) {
    float value = 0;
    const DecimalStatus status = ParseDecimal(item.text, value);
    if (status == DecimalStatus::kNotNumber) FailNotNumber(item, "is not a number");
    if (status == DecimalStatus::kTooLarge) {
      Fail(ErrorKind::kOverflow, item.line,
           QuotedItem(item.text) + " is too large for single precision");
    }
    return value;
  }

  // The count is read as a double so that "250.0" is a count and "2.5" is refused.
  int ReadCount() {
    const Item item = NextItem("the count");
    double value = 0;
    if (ParseDecimal(item.text, value) == DecimalStatus::kNotNumber) {
      FailNotNumber(item, "is not a count");
    }
    return CheckedCount(value, ErrorPlace{file_, item.line}, item.text);
  }

  [[noreturn]] void FailEnd(std::string_view expected) {
    Fail(ErrorKind::kInput, scanner_.last_line(), "the file ends before " + std::string(expected));
  }

  [[noreturn]] void FailNotNumber(const Item& item, std::string_view problem) {
    if (item.text.empty()) {
      Fail(ErrorKind::kInput, item.line, "empty item where a number should be");
    }
    Fail(ErrorKind::kInput, item.line, QuotedItem(item.text) + " " + std::string(problem));
  }

  [[noreturn]] void Fail(ErrorKind kind, int line, std::string_view detail) {
    throw RunError(kind, ErrorPlace{file_, line}, detail);
  }

  ItemScanner scanner_;
  std::string_view file_;
  std::vector<int>* row_lines_;
};

}  // namespace

LineGrid ParseLineText(std::string_view bytes, std::string_view file, std::vector<int>* row_lines) {
  std::string decoded;
  if (row_lines != nullptr) row_lines->clear();
  return LineTextParser(DecodeLineText(bytes, decoded), file, row_lines).Parse();
}
}  // namespace kelvane
