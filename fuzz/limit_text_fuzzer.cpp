// Feeds arbitrary text to the limit conversion. Checks that an accepted limit is finite
// and not negative, that text after a blank never changes the reading, and that the
// shortest text of an accepted limit reads back as the same limit.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "linefiles/decimal_number.h"
#include "window/limit_text.h"

namespace {

[[noreturn]] void Fail(const char* property) {
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

bool Same(const LimitReading& a, const LimitReading& b) {
  return a.problem == b.problem &&
         std::bit_cast<std::uint32_t>(a.meters) == std::bit_cast<std::uint32_t>(b.meters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const LimitReading reading = ReadLimitText(text);
  if (!Same(ReadLimitText(text + " m"), reading)) Fail("text after a blank is ignored");
  if (reading.problem != LimitProblem::kNone) {
    if (RefusalMessage(reading.problem).empty()) Fail("a refusal says what is expected");
    return 0;
  }
  if (!std::isfinite(reading.meters) || reading.meters < 0) Fail("a limit is finite, 0 or more");
  std::string shortest;
  AppendDecimal(shortest, reading.meters);
  if (!Same(ReadLimitText(shortest), reading)) Fail("a limit's shortest text reads back");
  return 0;
}
