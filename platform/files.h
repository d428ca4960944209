#ifndef KELVANE_PLATFORM_FILES_H_
#define KELVANE_PLATFORM_FILES_H_

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// What the program needs of the operating system's files, with one implementation per
// platform (platform_posix.cpp, platform_windows.cpp). Paths are the platform's own (bytes
// on POSIX, UTF-16 on Windows), so any name the file system allows works. Every failure
// throws RunError(kFile) with a message of the shape "<path>: <problem>: <the system's
// reason>".

// The folder that holds the running program's executable, symbolic links resolved.
// Throws when it cannot be found; never falls back to the working directory.
std::filesystem::path ProgramDir();

// True when an entry exists at `path`: a file, a folder, or a symbolic link (even one that
// leads nowhere). Never throws.
bool FileExists(const std::filesystem::path& path);

// True when `path` is a folder, or a symbolic link that leads to one. Never throws.
bool IsFolder(const std::filesystem::path& path);

// The whole content of the regular file at `path`, read without blocking on it. Throws
// when it cannot be opened or read, or is not a regular file; when it holds more than
// `max_bytes`, throws "<path>: is <size> bytes, <too_large>".
std::string ReadWholeFile(const std::filesystem::path& path, std::size_t max_bytes,
                          std::string_view too_large);

// A file to replace and its new content.
struct FileReplacement {
  std::filesystem::path path;
  std::string_view content;
};

// Replaces every file of `files` with its content, durably and all or none. Each content
// is written to a new temporary beside its target and flushed to disk before any target
// changes; each target is then renamed over in turn, its old version kept under a
// temporary name until all are in place. When a target cannot be placed, those already
// placed get their old versions back by rename and the error names the target at fault;
// if a restore fails too, the error says which file holds the old contents. A replaced
// file keeps its permissions and, where the process may set it, its owner; a symbolic link
// is followed and stays. No temporary outlives the call unless it is named in the error as
// holding old contents.
void ReplaceFiles(std::span<const FileReplacement> files);

// `path` as text for a message: its bytes on POSIX, UTF-8 on Windows.
std::string DisplayPath(const std::filesystem::path& path);

#endif  // KELVANE_PLATFORM_FILES_H_
