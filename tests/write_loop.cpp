// Computes the pass lines in the current folder for the limit given, or, with no limit,
// prints "writing" and computes them for limits of 4 and 3 meters in turn until killed.
// The fault tests kill it at random moments to show that no pass line is ever left
// partly written.

#include <cstdio>
#include <cstdlib>

#include "passlines/compute_pass_lines.h"

int main(int argc, char* argv[]) {
  PassLineFields fields;
  if (argc == 2) {
    fields.MaxSeparation = std::strtof(argv[1], nullptr);
    ComputePassLines(fields, ".");
    return 0;
  }
  std::puts("writing");
  std::fflush(stdout);
  for (float limit = 4;; limit = 7 - limit) {
    fields.MaxSeparation = limit;
    ComputePassLines(fields, ".");
  }
}
