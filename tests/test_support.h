#ifndef KELVANE_TESTS_TEST_SUPPORT_H_
#define KELVANE_TESTS_TEST_SUPPORT_H_

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <set>
#include <string>

#include "base/run_error.h"

namespace kelvane {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
struct ScratchDir {
  ScratchDir() {
    do path = std::filesystem::temp_directory_path() / std::to_string(std::random_device()());
    while (!std::filesystem::create_directory(path));
  }
  ~ScratchDir() { std::filesystem::remove_all(path); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(path / name, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(none)";
  }
  // Every name in the folder, sorted, each followed by a blank.
  std::string Entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      names.insert(entry.path().filename().string() + " ");
    }
    return std::accumulate(names.begin(), names.end(), std::string());
  }
  std::filesystem::path path;
};

// The report of the RunError that `action` throws, or "no error".
std::string ErrorOf(auto action) {
  try {
    action();
  } catch (const RunError& error) {
    return error.Report();
  }
  return "no error";
}

}  // namespace kelvane

#endif  // KELVANE_TESTS_TEST_SUPPORT_H_
