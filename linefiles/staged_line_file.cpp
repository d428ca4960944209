#include "linefiles/staged_line_file.h"

#include <QFile>
#include <optional>

#include "linefiles/file_error.h"

namespace {

std::optional<QByteArray> ReadOld(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

void PutBack(const QString& path, const std::optional<QByteArray>& old) {
  if (!old) {
    QFile::remove(path);
    return;
  }
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(*old);
    file.commit();
  }
}

}  // namespace

StagedLineFile::StagedLineFile(const QString& path, std::string_view text) : file_(path) {
  if (!file_.open(QIODevice::WriteOnly)) ThrowFileError(file_, "cannot be created");
  WriteAll(text);
}

// A write may stop short (a disk that fills up); only the next attempt fails with the
// reason. Flushed here, not left to Commit(), for the same reason.
void StagedLineFile::WriteAll(std::string_view text) {
  while (!text.empty()) {
    const qint64 written = file_.write(text.data(), static_cast<qint64>(text.size()));
    if (written <= 0) ThrowFileError(file_, "cannot be written");
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  if (!file_.flush()) ThrowFileError(file_, "cannot be written");
}

void StagedLineFile::Commit() {
  if (!file_.commit()) ThrowFileError(file_, "cannot be written");
}

void CommitPair(StagedLineFile& first, StagedLineFile& second) {
  const QString first_path = first.file_.fileName();
  const std::optional<QByteArray> old = ReadOld(first_path);
  first.Commit();
  if (!second.file_.commit()) {
    PutBack(first_path, old);
    ThrowFileError(second.file_, "cannot be written");
  }
}
