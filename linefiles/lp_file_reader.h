#ifndef KELVANE_LINEFILES_LP_FILE_READER_H_
#define KELVANE_LINEFILES_LP_FILE_READER_H_

#include <QString>
#include <string_view>

#include "linefiles/staged_line_file.h"

// The line file routines. Each takes a bare file name and works on that file in the
// program directory; grids come and go only through SharedGrid and SharedCount.

// True when `path` names an existing entry: a file, a directory, or a symbolic link
// (even one that leads nowhere).
bool FileExists(const QString& path);

// Reads the line file `name` into SharedGrid and SharedCount and returns true. When no
// entry of that name exists, returns false and leaves both as they were. Throws
// RunError(kFile) when the entry cannot be read, and the errors of ParseLineText, with
// SharedGrid and SharedCount unchanged.
bool ReadLineFile(std::string_view name);

// Replaces the file `name` with SharedGrid, written with SharedCount data rows; the file
// gets all of the new text or keeps its old contents. Throws RunError: kBounds when
// SharedGrid is absent, the errors of FormatLineText, kFile when it cannot be written.
void WriteLineFile(std::string_view name);

// As WriteLineFile, but leaves the new file staged for the caller to commit.
StagedLineFile StageLineFile(std::string_view name);

#endif  // KELVANE_LINEFILES_LP_FILE_READER_H_
