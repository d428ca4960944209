#include "linefiles/lp_file_reader.h"

#include <QFile>
#include <QFileInfo>
#include <string>

#include "linefiles/file_error.h"
#include "linefiles/globals.h"
#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"
#include "linefiles/program_dir.h"
#include "linefiles/run_error.h"

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) ThrowFileError(file, "cannot be opened");
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) ThrowFileError(file, "cannot be read");
  return bytes;
}

}  // namespace

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

bool ReadLineFile(std::string_view name) {
  const QString path = ProgramFilePath(name);
  if (!FileExists(path)) return false;
  const QByteArray bytes = ReadBytes(path);
  ParsedLine line = ParseLineText(std::string_view(bytes.data(), bytes.size()), name);
  SharedGrid = std::move(line.grid);
  SharedCount = line.count;
  return true;
}

void WriteLineFile(std::string_view name) { StageLineFile(name).Commit(); }

StagedLineFile StageLineFile(std::string_view name) {
  if (!SharedGrid) {
    throw RunError(ErrorKind::kBounds, ErrorPlace{name, 1}, "there is no line to write");
  }
  return StagedLineFile(ProgramFilePath(name), FormatLineText(*SharedGrid, SharedCount, name));
}
