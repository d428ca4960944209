#ifndef KELVANE_LINEFILES_LINE_FILE_H_
#define KELVANE_LINEFILES_LINE_FILE_H_

#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

#include "linefiles/line_grid.h"
#include "platform/files.h"
#include "replace/replace_files.h"

namespace kelvane {

// The largest file the reader takes; a line file of the largest count is under 3 MB.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

// Reads line files one after another through one buffer, which a run of several reads
// touches fresh only once.
class LineFileReader {
 public:
  // The line read from the file `name` in `folder`. Throws the errors of ReadWholeFile
  // (naming the path; a file larger than kMaxFileBytes is refused unread) and of
  // ParseLineText (naming `name` and the line).
  LineGrid Read(const Folder& folder, std::string_view name);

 private:
  FileBytes bytes_;
};

// A line and the name of the file it goes to.
struct NamedLine {
  std::string_view name;
  const LineGrid& grid;
};

// Replaces the files in `folder` with their lines in the text of WriteLineTexts: all of
// them or, on any error, none, waiting for another run as `wait` says. Throws the errors of
// ReplaceFiles.
void WriteLineFile(const Folder& folder, std::span<const NamedLine> lines,
                   const LockWait& wait = {});

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_LINE_FILE_H_
