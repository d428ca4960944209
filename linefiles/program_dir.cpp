#include "linefiles/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <utility>

#include "linefiles/run_error.h"

namespace {

QString& DirOverride() {
  static QString dir;
  return dir;
}

}  // namespace

QString ProgramDir() {
  if (!DirOverride().isEmpty()) return DirOverride();
  const QString dir =
      QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  if (dir.isEmpty()) throw RunError(ErrorKind::kFile, "the program's directory cannot be found");
  return dir;
}

QString ProgramFilePath(std::string_view name) {
  return QDir(ProgramDir()).filePath(QString::fromUtf8(name.data(), std::ssize(name)));
}

ScopedProgramDir::ScopedProgramDir(QString dir)
    : previous_(std::exchange(DirOverride(), std::move(dir))) {}

ScopedProgramDir::~ScopedProgramDir() { DirOverride() = previous_; }
