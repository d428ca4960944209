#include "platform/file_error.h"

#include <string>

#include "base/run_error.h"
#include "platform/files.h"
#include "platform/system_error.h"

namespace kelvane {

void RefuseFile(const std::filesystem::path& path, std::string_view problem) {
  throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(path)}, problem);
}

void FailFile(const std::filesystem::path& path, std::string_view problem, SystemError error) {
  RefuseFile(path, std::string(problem) + ": " + ReasonOf(error));
}

void CheckFileSize(const std::filesystem::path& path, unsigned long long size,
                   std::size_t max_bytes, std::string_view too_large) {
  if (size <= max_bytes) return;
  RefuseFile(path, "is " + std::to_string(size) + " bytes, " + std::string(too_large));
}
}  // namespace kelvane
