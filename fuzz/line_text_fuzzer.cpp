// Feeds arbitrary bytes to the line file reader. Besides "no crash", it checks that every
// rejection is a RunError whose message names the file and the line, that a text that
// reads without error is written and read back to the same bits, and that reading numbers
// in one pass finds the same items and values as taking each item whole and parsing it.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/decimal_number.h"
#include "linefiles/item_scanner.h"
#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"

namespace kelvane {

namespace {

[[noreturn]] void Fail(const char* property) {
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

std::optional<LineGrid> Parse(std::string_view text) {
  try {
    return ParseLineText(text, "Fuzz.txt");
  } catch (const RunError& error) {
    if (!std::string_view(error.what()).starts_with("Fuzz.txt:")) Fail("a message names the file");
    return std::nullopt;
  }
}

// Walks the text twice, item by item: once trying each item as a number in one pass, once
// taking it whole and parsing it after.
void CheckOnePassNumbers(std::string_view text) {
  ItemScanner one_pass(text), whole(text);
  for (;;) {
    const auto item = whole.Next();
    float parsed = 0;
    const bool number = item && ParseDecimal(item->text, parsed) == DecimalStatus::kOk;
    float value = 0;
    if (one_pass.NextSingle(value)) {
      if (!number || std::bit_cast<std::uint32_t>(value) != std::bit_cast<std::uint32_t>(parsed) ||
          one_pass.last_line() != item->line) {
        Fail("a number read in one pass is the whole item");
      }
      continue;
    }
    const auto left = one_pass.Next();
    if (number) Fail("every number within range is read in one pass");
    if (left.has_value() != item.has_value()) Fail("both find the end of the text");
    if (!item) return;
    if (left->text != item->text || left->line != item->line) Fail("an item left is whole");
  }
}

int TestOneInput(std::string_view text) {
  CheckOnePassNumbers(text);
  const auto line = Parse(text);
  if (!line) return 0;
  const LineGrid* one[] = {&*line};
  const std::string written = FormatLineTexts(one).front();
  const auto back = Parse(written);
  if (!back) Fail("a written line reads back");
  // The second text copies every cell whose bits agree with the first and writes the rest.
  const LineGrid* both[] = {&*line, &*back};
  if (FormatLineTexts(both) != std::vector{written, written})
    Fail("it reads back to the same bits");
  return 0;
}

}  // namespace

}  // namespace kelvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return kelvane::TestOneInput({reinterpret_cast<const char*>(data), size});
}
