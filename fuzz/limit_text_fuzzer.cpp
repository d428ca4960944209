// Feeds arbitrary text to the limit conversion. Checks that an accepted limit is finite
// and not negative, that text after a blank never changes the reading, and that the
// shortest text of an accepted limit reads back as the same limit.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/limit_text.h"
#include "base/decimal_number.h"

namespace kelvane {

namespace {

void Require(bool property, const char* text) {
  if (property) return;
  std::fprintf(stderr, "property broken: %s\n", text);
  std::abort();
}

bool Same(const LimitReading& a, const LimitReading& b) {
  return a.problem == b.problem &&
         std::bit_cast<std::uint32_t>(a.meters) == std::bit_cast<std::uint32_t>(b.meters);
}

int TestOneInput(const std::string& text) {
  const LimitReading reading = ReadLimitText(text);
  Require(Same(ReadLimitText(text + " m"), reading), "text after a blank is ignored");
  Require(RefusalMessage(reading.problem).empty() == (reading.problem == LimitProblem::kNone),
          "a refusal says what is expected");
  if (reading.problem != LimitProblem::kNone) return 0;
  Require(std::isfinite(reading.meters) && reading.meters >= 0, "a limit is finite, 0 or more");
  std::string shortest;
  AppendDecimal(shortest, reading.meters);
  Require(Same(ReadLimitText(shortest), reading), "a limit's shortest text reads back");
  return 0;
}

}  // namespace

}  // namespace kelvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return kelvane::TestOneInput({reinterpret_cast<const char*>(data), size});
}
