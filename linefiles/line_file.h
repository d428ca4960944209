#ifndef KELVANE_LINEFILES_LINE_FILE_H_
#define KELVANE_LINEFILES_LINE_FILE_H_

#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

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
  // The line each data row of the line last read begins on, for the rows its text has.
  const std::vector<int>& row_lines() const { return row_lines_; }

 private:
  FileBytes bytes_;
  std::vector<int> row_lines_;
};

// Where every line file puts each data row: `lines` (LineFileReader::row_lines) kept where
// `other` has the same line, 0 elsewhere and beyond `other`'s rows.
void KeepSameLines(std::vector<int>& lines, const std::vector<int>& other);

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
