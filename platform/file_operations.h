#ifndef KELVANE_PLATFORM_FILE_OPERATIONS_H_
#define KELVANE_PLATFORM_FILE_OPERATIONS_H_

#include <filesystem>
#include <string_view>

#include "platform/system_error.h"

// The file operations that ReplaceFiles is built from, one implementation per platform
// beside the rest of the platform layer. None throws: each returns the system's error code,
// 0 for success.

// True when `error` says that an entry of that name exists already.
bool IsAlreadyExists(SystemError error);

// The folder that holds `path`: its parent, or "." for a bare name.
inline std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Whether `target` may be replaced, and whether it exists (`exists`). An error when it
// exists but may not be: a folder, a file the process may not write, or one it may not
// rename over; `problem` then says which ("cannot be replaced", "cannot be written").
[[nodiscard]] SystemError CheckReplaceable(const std::filesystem::path& target, bool& exists,
                                           std::string_view& problem);

// Creates the file `path`, which must not exist yet (IsAlreadyExists otherwise), writes
// `content` to it and flushes it to disk. It gets the access of `like` where `like`
// exists (permissions, and the owner where the process may set it), a new file's
// otherwise. `created` tells whether the file was made before an error.
[[nodiscard]] SystemError WriteNewFile(const std::filesystem::path& path, std::string_view content,
                                       const std::filesystem::path& like, bool like_exists,
                                       bool& created);

// Makes `link` a second name of the file `existing`.
[[nodiscard]] SystemError LinkFile(const std::filesystem::path& existing,
                                   const std::filesystem::path& link);

// Renames `from` to `to`, replacing any file at `to`, durably where the platform can.
[[nodiscard]] SystemError MoveFileOver(const std::filesystem::path& from,
                                       const std::filesystem::path& to);

[[nodiscard]] SystemError RemoveFile(const std::filesystem::path& path);

// Flushes the entries of `folder` to disk, where the platform needs it after renames.
[[nodiscard]] SystemError SyncFolder(const std::filesystem::path& folder);

#endif  // KELVANE_PLATFORM_FILE_OPERATIONS_H_
