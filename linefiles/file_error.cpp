#include "linefiles/file_error.h"

#include <string>

#include "linefiles/run_error.h"

void ThrowFileError(const QFileDevice& file, std::string_view problem) {
  const std::string path = file.fileName().toStdString();
  throw RunError(ErrorKind::kFile, ErrorPlace{path, 0},
                 std::string(problem) + ": " + file.errorString().toStdString());
}
