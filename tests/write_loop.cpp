// Computes the pass lines in the current folder for the limit given; with none, prints
// "writing" and computes them for limits of 4 and 3 meters in turn until it is killed.
#include <cstdio>
#include <cstdlib>

#include "passlines/compute_pass_lines.h"

int main(int argc, char* argv[]) {
  float limit = argc == 2 ? std::strtof(argv[1], nullptr) : 4;
  ComputePassLines(".", limit);
  if (argc == 2) return 0;
  std::puts("writing");
  std::fflush(stdout);
  for (;;) {
    limit = 7 - limit;
    ComputePassLines(".", limit);
  }
}
