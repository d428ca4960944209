// What every platform builds on its NewFile.

#include "platform/file_operations.h"

SystemError WriteNewFile(const std::filesystem::path& path, const ContentSource& content,
                         const std::filesystem::path& like, bool like_exists, bool& created) {
  NewFile file;
  const SystemError create_error = file.Create(path, like, like_exists);
  created = !create_error;
  if (create_error) return create_error;
  const auto write = [&file](std::string_view piece) { return file.Write(piece); };
  if (const SystemError error = WriteEach(content, write)) return error;
  return file.Finish();
}
