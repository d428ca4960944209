// The whole job once, as a user's run does it: computes the pass lines in FOLDER for a
// limit of 4 meters and ends. Usage: kelvane_job_once FOLDER
#include <cstdio>

#include "base/run_error.h"
#include "passlines/compute_pass_lines.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  try {
    kelvane::ComputePassLines(argv[1], 4);
  } catch (const kelvane::RunError& error) {
    std::fprintf(stderr, "%s\n", error.Report().c_str());
    return 1;
  }
  return 0;
}
