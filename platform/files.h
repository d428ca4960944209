#ifndef KELVANE_PLATFORM_FILES_H_
#define KELVANE_PLATFORM_FILES_H_

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "base/content_sink.h"
#include "platform/folder.h"

namespace kelvane {

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

// The bytes of a whole file, in memory that was not cleared before they were read into it.
// Reading another file into the same FileBytes reuses its memory where that is large
// enough, so that a run reading several files touches fresh pages for the first alone.
class FileBytes {
 public:
  std::string_view view() const { return {data_.get(), size_}; }

  // Memory for `size` bytes to be read into, holding whatever it held; the view is empty
  // until SetSize says how many bytes were read.
  char* Prepare(std::size_t size) {
    if (size > capacity_) data_ = std::make_unique_for_overwrite<char[]>(capacity_ = size);
    size_ = 0;
    return data_.get();
  }
  void SetSize(std::size_t size) { size_ = size; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

// Reads the whole content of the regular file at `path` into `bytes`, without blocking on
// it and following only trusted links (FollowTrustedLinks). Throws when it cannot be opened
// or read, or is not a regular file; when it holds more than `max_bytes`, throws "<path>:
// is <size> bytes, <too_large>".
void ReadWholeFile(const std::filesystem::path& path, std::size_t max_bytes,
                   std::string_view too_large, FileBytes& bytes);

// A file's folder, held open, and its name there, after the symbolic links that may be
// followed.
struct PlacedFile {
  Folder folder;
  std::filesystem::path name;
  std::filesystem::path Shown() const { return folder.Show(name); }
};

// The folder at `path` ("" for the current one), held open. Throws "<path>: cannot be
// opened: <reason>" when it cannot be.
Folder OpenFolder(const std::filesystem::path& path);

// The file at `path`, each symbolic link at its last name followed while its owner is one
// a link may be trusted of (Owner), at most 40 links. Throws "<link>: is a symbolic link
// owned by <user>, ..." for one that is not followed, and the error of a folder that cannot
// be opened.
PlacedFile FollowTrustedLinks(const std::filesystem::path& path);

// `path` as text for a message: its bytes on POSIX, UTF-8 on Windows.
std::string DisplayPath(const std::filesystem::path& path);

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_FILES_H_
