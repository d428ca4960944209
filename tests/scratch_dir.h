#ifndef KELVANE_TESTS_SCRATCH_DIR_H_
#define KELVANE_TESTS_SCRATCH_DIR_H_

#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "linefiles/program_dir.h"

// A fresh directory that stands in for the program's directory while the object lives.
// Also clears SharedGrid and SharedCount, so each test starts as the program does.
class ScratchDir {
 public:
  ScratchDir();

  QString Path(const std::string& name) const;
  void Write(const std::string& name, const std::string& text) const;
  // The file's bytes, or nullopt when it does not exist.
  std::optional<std::string> Read(const std::string& name) const;
  // Every entry of the directory, hidden ones included, sorted by name.
  QStringList Entries() const;

 private:
  QTemporaryDir dir_;
  ScopedProgramDir program_dir_;
};

#endif  // KELVANE_TESTS_SCRATCH_DIR_H_
