#ifndef KELVANE_PLATFORM_FOLDER_H_
#define KELVANE_PLATFORM_FOLDER_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_error.h"

namespace kelvane {

// The system's files as the reader and the replacement use them: a folder held open and
// names in it. No operation follows a symbolic link at the name it is given, and a file is
// checked through the handle it is then used by, so that a name swapped meanwhile cannot
// redirect a read or a write. One implementation per platform; none throws: each returns
// the system's error code, 0 for success.

// What an entry is. `volume` and `file` together are the same for every name of one file.
struct FileFacts {
  bool exists = false;
  bool regular = false;
  bool link = false;  // a symbolic link, or on Windows any reparse point
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  std::uint64_t links = 0;  // how many names the file has
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // when its content last changed: seconds since 1970, UTC
};

inline bool SameFile(const FileFacts& a, const FileFacts& b) {
  return a.exists && b.exists && a.volume == b.volume && a.file == b.file;
}

// True when `error` says that there is no entry of that name.
bool IsNotFound(SystemError error);
// True when `error` says that another process holds the lock of a journal.
bool IsBusy(SystemError error);

// A file or folder held open, and closed when this object goes.
class HeldFile {
 public:
  HeldFile() = default;
  HeldFile(HeldFile&& other) noexcept;
  HeldFile& operator=(HeldFile&& other) noexcept;
  ~HeldFile();

  [[nodiscard]] SystemError Facts(FileFacts& facts) const;
  [[nodiscard]] SystemError Write(std::string_view piece);
  // Reads into `out` until it holds `size` bytes or the file ends; `got` says how many.
  [[nodiscard]] SystemError Read(char* out, std::size_t size, std::size_t& got);
  // Rewinds to the start, for a file read and then written anew.
  [[nodiscard]] SystemError Rewind();
  // Ends the file where writing stopped and flushes it to disk.
  [[nodiscard]] SystemError Flush();
  // Closes now, so that a failure to close can be reported.
  [[nodiscard]] SystemError Close();

 private:
  friend class Folder;
  std::intptr_t handle_ = -1;
};

// How Folder::Open opens a name. None waits on a FIFO or a device.
enum class OpenAs {
  kRead,     // an existing entry, for reading
  kWrite,    // an existing entry, for writing in place from its start
  kJournal,  // read and write, made where there is none, and locked: IsBusy when another
             // process holds it; the lock goes with the handle, however the process ends
};

// Who owns an entry, as far as a run must know to trust it.
struct Owner {
  std::string name;
  std::string id;         // the same for every entry of one owner: a user id, or a SID
  bool you = false;       // the user running this
  bool trusted = false;   // a symbolic link of this owner may be followed: the user running
                          // this, or the folder's owner (or the system) where nobody else
                          // may write the folder
  bool removable = true;  // the user running this may remove the entry (a sticky folder
                          // keeps others' entries from all but their owner and the folder's)
};

// A folder held open: renaming or replacing the folder meanwhile does not change which
// folder the names are taken in.
class Folder {
 public:
  // Opens the folder at `path` (links on the way followed, as the system does).
  [[nodiscard]] SystemError Open(const std::filesystem::path& path);
  const std::filesystem::path& path() const { return path_; }
  // `name` in this folder, for messages.
  std::filesystem::path Show(const std::filesystem::path& name) const { return path_ / name; }

  [[nodiscard]] SystemError Facts(FileFacts& facts) const { return handle_.Facts(facts); }
  // What is at `name`; `facts.exists` is false when nothing is.
  [[nodiscard]] SystemError Stat(const std::filesystem::path& name, FileFacts& facts) const;
  [[nodiscard]] SystemError GetOwner(const std::filesystem::path& name, Owner& owner) const;
  [[nodiscard]] SystemError ReadLink(const std::filesystem::path& name,
                                     std::filesystem::path& text) const;
  [[nodiscard]] SystemError Open(const std::filesystem::path& name, OpenAs as,
                                 HeldFile& file) const;
  // Makes the new file `name` (an error where anything is there) for writing. Where `like`
  // names a file it gets what the user set up on it, as far as the file system and the
  // process's rights allow: owner and group (each kept alone when the other cannot be),
  // permissions, extended attributes and ACLs on POSIX; attributes on Windows.
  [[nodiscard]] SystemError Create(const std::filesystem::path& name,
                                   const std::filesystem::path& like, HeldFile& file) const;
  // "" when the regular file `name` may be replaced; otherwise the problem, such as
  // "cannot be written: Permission denied" or, on Windows, "cannot be replaced: in use by
  // another program".
  [[nodiscard]] std::string ReplaceProblem(const std::filesystem::path& name) const;
  // Makes `link` a second name of the file `existing`.
  [[nodiscard]] SystemError Link(const std::filesystem::path& existing,
                                 const std::filesystem::path& link) const;
  // Renames `from` to `to`, replacing what is at `to`.
  [[nodiscard]] SystemError Rename(const std::filesystem::path& from,
                                   const std::filesystem::path& to) const;
  // Puts the new file `from` in the place of `to`. On Windows an existing `to` hands its
  // ACL, attributes and streams on (ReplaceFileW).
  [[nodiscard]] SystemError Place(const std::filesystem::path& from,
                                  const std::filesystem::path& to) const;
  [[nodiscard]] SystemError Remove(const std::filesystem::path& name) const;
  // Removes `name`, which `file` holds open, durably, then closes `file`.
  [[nodiscard]] SystemError RemoveHeld(const std::filesystem::path& name, HeldFile& file) const;
  [[nodiscard]] SystemError List(std::vector<std::filesystem::path>& names) const;
  // Flushes the folder's entries to disk, where the platform needs it after renames.
  [[nodiscard]] SystemError Sync() const;

 private:
  std::filesystem::path path_;
  HeldFile handle_;
};

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_FOLDER_H_
