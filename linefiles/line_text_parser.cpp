#include "linefiles/line_text_parser.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "linefiles/decimal_number.h"
#include "linefiles/item_scanner.h"
#include "linefiles/run_error.h"

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

class LineTextParser {
 public:
  LineTextParser(std::string_view text, std::string_view file) : scanner_(text), file_(file) {}

  ParsedLine Parse() {
    const float a = ReadSingle("header value A");
    const float b = ReadSingle("header value B");
    const std::int16_t count = ReadCount();
    LineGrid grid(count);
    grid.at(1, 0) = a;
    grid.at(2, 0) = b;
    grid.at(3, 0) = count;
    for (int row = LineGrid::kHeaderRows + 1; auto first = scanner_.Next(); ++row) {
      ReadRow(*first, row, grid);
    }
    return {std::move(grid), count};
  }

 private:
  void ReadRow(const Item& first, int row, LineGrid& grid) {
    const int data_row = row - LineGrid::kHeaderRows;
    const float value = ToSingle(first);
    if (row > grid.last_row()) {
      Fail(ErrorKind::kBounds, first.line,
           "data row " + std::to_string(data_row) + " is more than the count of " +
               std::to_string(grid.last_row() - LineGrid::kHeaderRows));
    }
    grid.at(row, 0) = value;
    for (int column = 1; column < LineGrid::kColumns; ++column) {
      const auto item = scanner_.Next();
      if (!item) {
        Fail(ErrorKind::kInput, scanner_.last_line(),
             "the file ends inside data row " + std::to_string(data_row) + ", after " +
                 std::to_string(column) + " of its 5 numbers");
      }
      grid.at(row, column) = ToSingle(*item);
    }
  }

  Item NextItem(std::string_view expected) {
    auto item = scanner_.Next();
    if (!item) {
      Fail(ErrorKind::kInput, scanner_.last_line(),
           "the file ends before " + std::string(expected));
    }
    return *item;
  }

  float ReadSingle(std::string_view expected) { return ToSingle(NextItem(expected)); }

  float ToSingle(const Item& item) {
    float value = 0;
    const DecimalStatus status = ParseDecimal(item.text, value);
    if (status == DecimalStatus::kNotNumber) FailNotNumber(item, "is not a number");
    if (status == DecimalStatus::kTooLarge) {
      Fail(ErrorKind::kOverflow, item.line, item.text, "is too large for single precision");
    }
    return value;
  }

  // The count is read as a double so that "250.0" is a count and "2.5" is refused.
  std::int16_t ReadCount() {
    const Item item = NextItem("the count");
    double value = 0;
    const DecimalStatus status = ParseDecimal(item.text, value);
    if (status == DecimalStatus::kNotNumber) FailNotNumber(item, "is not a count");
    if (status == DecimalStatus::kTooLarge || value > LineGrid::kMaxCount || value < INT16_MIN) {
      Fail(ErrorKind::kOverflow, item.line, item.text,
           "is beyond the counts 0 to " + std::to_string(LineGrid::kMaxCount));
    }
    if (value != std::trunc(value)) {
      Fail(ErrorKind::kInput, item.line, item.text, "is not a whole count");
    }
    if (value < 0) Fail(ErrorKind::kBounds, item.line, item.text, "is a negative count");
    return static_cast<std::int16_t>(value);
  }

  [[noreturn]] void FailNotNumber(const Item& item, std::string_view problem) {
    if (item.text.empty()) {
      Fail(ErrorKind::kInput, item.line, "empty item where a number should be");
    }
    Fail(ErrorKind::kInput, item.line, item.text, problem);
  }

  [[noreturn]] void Fail(ErrorKind kind, int line, std::string_view detail) {
    throw RunError(kind, ErrorPlace{file_, line}, detail);
  }

  [[noreturn]] void Fail(ErrorKind kind, int line, std::string_view item,
                         std::string_view problem) {
    Fail(kind, line, Quoted(item) + " " + std::string(problem));
  }

  ItemScanner scanner_;
  std::string_view file_;
};

}  // namespace

ParsedLine ParseLineText(std::string_view text, std::string_view file) {
  return LineTextParser(text, file).Parse();
}
