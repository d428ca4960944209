// Computes the pass lines for limits of 4 and 3 meters in the folder that holds this
// program, prints "writing", then writes the two pairs in turn until it is killed;
// "--once LIMIT" only runs the job once. The fault tests kill it at random moments to
// show that no pass line is ever left partly written.

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "passlines/compute_pass_lines.h"

int main(int argc, char* argv[]) {
  const QCoreApplication app(argc, argv);
  if (argc == 3 && std::string_view(argv[1]) == "--once") {
    PassLineFields fields;
    fields.MaxSeparation = std::strtof(argv[2], nullptr);
    ComputePassLines(fields);
    return 0;
  }
  PassLineFields four;
  four.MaxSeparation = 4;
  ComputePassLines(four);
  PassLineFields three;
  three.MaxSeparation = 3;
  ComputePassLines(three);
  std::puts("writing");
  std::fflush(stdout);
  for (;;) {
    WritePassLines(four);
    WritePassLines(three);
  }
}
