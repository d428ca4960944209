// Feeds arbitrary bytes to the line file reader. Besides "no crash", it checks that every
// rejection is a RunError whose message names the file and the line, and that a text that
// reads without error is written and read back to the same bits.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto line = Parse(std::string_view(reinterpret_cast<const char*>(data), size));
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
