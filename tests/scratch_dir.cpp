#include "tests/scratch_dir.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

#include "linefiles/globals.h"

ScratchDir::ScratchDir() : program_dir_(dir_.path()) {
  if (!dir_.isValid()) throw std::runtime_error("cannot create a scratch directory");
  SharedGrid.reset();
  SharedCount = 0;
}

QString ScratchDir::Path(const std::string& name) const {
  return QDir(dir_.path()).filePath(QString::fromStdString(name));
}

void ScratchDir::Write(const std::string& name, const std::string& text) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), std::ssize(text)) != std::ssize(text)) {
    throw std::runtime_error("cannot write " + name);
  }
}

std::optional<std::string> ScratchDir::Read(const std::string& name) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll().toStdString();
}

QStringList ScratchDir::Entries() const {
  return QDir(dir_.path())
      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
