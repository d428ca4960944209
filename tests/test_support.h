#ifndef KELVANE_TESTS_TEST_SUPPORT_H_
#define KELVANE_TESTS_TEST_SUPPORT_H_

#include <filesystem>
#include <string>
#include <vector>

#include "linefiles/run_error.h"

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object dies.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const;
  // The file's bytes, or "(none)" when it cannot be read.
  std::string Read(const std::string& name) const;
  // The names of every entry, hidden ones included, sorted, joined by blanks.
  std::string Entries() const;

 private:
  std::filesystem::path path_;
};

// The report of the RunError that `action` throws ("input error: Race.txt:7: ..."), or
// "no error".
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const RunError& error) {
    return error.Report();
  }
  return "no error";
}

#endif  // KELVANE_TESTS_TEST_SUPPORT_H_
