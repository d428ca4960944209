// Computes the pass lines in the current folder for the limit given. With "recover", puts
// back what a killed run left half done and does nothing else. With nothing, prints
// "writing <process id>" and computes them for limits of 4 and 3 meters in turn until it is
// killed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "passlines/compute_pass_lines.h"
#include "platform/files.h"
#include "replace/replace_files.h"

int main(int argc, char* argv[]) {
  if (argc == 2 && std::string_view(argv[1]) == "recover") {
    const std::filesystem::path files[] = {"Pass1.txt", "Pass2.txt"};
    kelvane::RecoverFiles(kelvane::OpenFolder("."), files);
    return 0;
  }
  float limit = argc == 2 ? std::strtof(argv[1], nullptr) : 4;
  kelvane::ComputePassLines(".", limit);
  if (argc == 2) return 0;
  std::printf("writing %d\n", static_cast<int>(::getpid()));
  std::fflush(stdout);
  for (;;) {
    limit = 7 - limit;
    kelvane::ComputePassLines(".", limit);
  }
}
