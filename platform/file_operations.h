#ifndef KELVANE_PLATFORM_FILE_OPERATIONS_H_
#define KELVANE_PLATFORM_FILE_OPERATIONS_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/system_error.h"

// The file operations that ReplaceFiles is built from, one implementation per platform
// beside the rest of the platform layer. None throws: each returns the system's error code,
// 0 for success.

// True when `error` says that an entry of that name exists already.
bool IsAlreadyExists(SystemError error);

// True when `error` says that there is no entry of that name.
bool IsNotFound(SystemError error);

// The folder that holds `path`: its parent, or "." for a bare name.
inline std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// What ReplaceFiles needs to know of a target that exists.
struct FileFacts {
  bool exists = false;
  std::uint64_t volume = 0;  // with `file`, the same for every name of one file
  std::uint64_t file = 0;
  std::uint64_t links = 0;  // how many names the file has
};

// What `path` is, after following symbolic links; `facts.exists` is false when there is
// nothing there.
[[nodiscard]] SystemError StatFile(const std::filesystem::path& path, FileFacts& facts);

// Whether `target` may be replaced, and what it is (`facts`). "" when it may (or does not
// exist); otherwise the problem, such as "is not a regular file" or "cannot be written:
// Permission denied": a folder or anything else that is not a regular file, a file the
// process may not write, one it may not rename over, or, on Windows, one open in another
// program that does not let others change it.
[[nodiscard]] std::string CheckReplaceable(const std::filesystem::path& target, FileFacts& facts);

// Hands each piece `content` gives to `write`, which returns a SystemError; the first
// failure is kept, and the pieces after it are passed over.
template <typename Write>
SystemError WriteEach(const ContentSource& content, Write write) {
  SystemError first = 0;
  content([&](std::string_view piece) {
    if (!first) first = write(piece);
  });
  return first;
}

// A new file being written: created, written piece by piece, then flushed to disk.
class NewFile {
 public:
  NewFile() = default;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile();

  // Creates the file `path`, which must not exist yet (IsAlreadyExists otherwise). Where
  // `like` exists it gets what the user set up on `like`, as far as the file system and
  // the process's rights allow: owner and group (each kept alone when the other cannot be),
  // permissions, extended attributes and ACLs on POSIX; attributes on Windows.
  [[nodiscard]] SystemError Create(const std::filesystem::path& path,
                                   const std::filesystem::path& like, bool like_exists);
  [[nodiscard]] SystemError Write(std::string_view piece);
  // Flushes the file to disk and closes it.
  [[nodiscard]] SystemError Finish();

 private:
  std::intptr_t handle_ = -1;
};

// Creates the file `path` as NewFile::Create does, writes what `content` gives to it and
// flushes it to disk. `created` tells whether the file was made.
[[nodiscard]] SystemError WriteNewFile(const std::filesystem::path& path,
                                       const ContentSource& content,
                                       const std::filesystem::path& like, bool like_exists,
                                       bool& created);

// Overwrites the existing file `path` in place with what `content` gives, so that every
// name of it sees the new content, and flushes it to disk.
[[nodiscard]] SystemError WriteInPlace(const std::filesystem::path& path,
                                       const ContentSource& content);

// The whole content of the file `path`, however large.
[[nodiscard]] SystemError ReadFileInto(const std::filesystem::path& path, std::string& content);

// Makes `link` a second name of the file `existing`.
[[nodiscard]] SystemError LinkFile(const std::filesystem::path& existing,
                                   const std::filesystem::path& link);

// Puts the new file `from` in the place of `to`, durably where the platform can. On
// Windows an existing `to` hands its ACL, attributes and streams on (ReplaceFileW).
[[nodiscard]] SystemError PlaceFile(const std::filesystem::path& from,
                                    const std::filesystem::path& to);

// Renames `from` to `to`, replacing any file at `to`, durably where the platform can.
[[nodiscard]] SystemError MoveFileOver(const std::filesystem::path& from,
                                       const std::filesystem::path& to);

[[nodiscard]] SystemError RemoveFile(const std::filesystem::path& path);

// The names of the entries in `folder`.
[[nodiscard]] SystemError ListFolder(const std::filesystem::path& folder,
                                     std::vector<std::filesystem::path>& names);

// Flushes the entries of `folder` to disk, where the platform needs it after renames.
[[nodiscard]] SystemError SyncFolder(const std::filesystem::path& folder);

// A file held open and locked for as long as this object lives: no other process can hold
// it meanwhile, and the system lets go of it when the process ends, however it ends.
class LockedFile {
 public:
  LockedFile() = default;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  ~LockedFile();

  // Opens `path`, creating it empty where there is none, and waits for its lock.
  [[nodiscard]] SystemError Open(const std::filesystem::path& path);
  [[nodiscard]] SystemError Read(std::string& content);
  // Makes `content` the whole of the file and flushes it to disk.
  [[nodiscard]] SystemError Rewrite(std::string_view content);
  // Removes the file, still holding it until it is gone, then lets go of it.
  [[nodiscard]] SystemError Remove();

 private:
  std::filesystem::path path_;
  std::intptr_t handle_ = -1;
};

#endif  // KELVANE_PLATFORM_FILE_OPERATIONS_H_
