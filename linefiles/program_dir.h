#ifndef KELVANE_LINEFILES_PROGRAM_DIR_H_
#define KELVANE_LINEFILES_PROGRAM_DIR_H_

#include <QString>
#include <string_view>

// The directory that holds the running program, looked up anew on each call; never the
// working directory. Throws RunError(kFile) when it cannot be found (no application
// object yet).
QString ProgramDir();

// The path of the file `name` in ProgramDir().
QString ProgramFilePath(std::string_view name);

// While alive, makes ProgramDir() answer `dir`: lets a test stand a scratch directory in
// for the directory of the test program.
class ScopedProgramDir {
 public:
  explicit ScopedProgramDir(QString dir);
  ~ScopedProgramDir();
  ScopedProgramDir(const ScopedProgramDir&) = delete;
  ScopedProgramDir& operator=(const ScopedProgramDir&) = delete;

 private:
  QString previous_;
};

#endif  // KELVANE_LINEFILES_PROGRAM_DIR_H_
