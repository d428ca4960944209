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

// The folder at `path` ("" for the current one), held open; links on the way to it are
// followed, as the system does. Throws "<path>: cannot be opened: <reason>".
Folder OpenFolder(const std::filesystem::path& path);

// The name in `folder` that the entry `name` leads to: `name` itself, or where its symbolic
// links lead, at most 40. A link is followed only when it names an entry of the same folder
// and its owner is one a link may be trusted of (Owner); anything else is refused, naming
// the link, where it leads and its owner, as is a link that cannot be read.
std::filesystem::path FollowLinksInFolder(const Folder& folder, const std::filesystem::path& name);

// What is at `name` in `folder` (FileFacts::exists false when nothing is). Throws "<path>:
// cannot be read: <reason>".
FileFacts FactsAt(const Folder& folder, const std::filesystem::path& name);

// Reads the whole content of the regular file `name` in `folder` into `bytes`, without
// blocking on it and following links as FollowLinksInFolder does. Throws when it cannot be
// opened or read, or is not a regular file; when it holds more than `max_bytes`, throws
// "<path>: is <size> bytes, <too_large>".
void ReadWholeFile(const Folder& folder, const std::filesystem::path& name, std::size_t max_bytes,
                   std::string_view too_large, FileBytes& bytes);

// `path` as text: its bytes on POSIX, UTF-8 on Windows.
std::string PathText(const std::filesystem::path& path);

// `path` as text for a message (PathText), with control bytes written as \xHH, so that no
// name can break a message into lines or reach a terminal as a command.
std::string DisplayPath(const std::filesystem::path& path);

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_FILES_H_
