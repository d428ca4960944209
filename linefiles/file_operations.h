#ifndef KELVANE_LINEFILES_FILE_OPERATIONS_H_
#define KELVANE_LINEFILES_FILE_OPERATIONS_H_

#include <filesystem>
#include <string>
#include <string_view>

// The file operations that ReplaceFiles is built from, one implementation per platform
// beside the rest of the platform layer. Each returns the system's error code (errno, or
// GetLastError() on Windows), 0 for success.
using SystemError = unsigned long;

// The system's wording of `error`, such as "Permission denied".
std::string ReasonOf(SystemError error);

// True when `error` says that an entry of that name exists already.
bool IsAlreadyExists(SystemError error);

// Whether `target` exists. Throws RunError(kFile) naming `target` when it exists but may
// not be replaced: a folder, a file the process may not write, or one it may not rename
// over.
bool CheckReplaceable(const std::filesystem::path& target);

// Creates the file `path`, which must not exist yet (IsAlreadyExists otherwise), writes
// `content` to it and flushes it to disk. It gets the access of `like` where `like`
// exists (permissions, and the owner where the process may set it), a new file's
// otherwise. `created` tells whether the file was made before an error.
SystemError WriteNewFile(const std::filesystem::path& path, std::string_view content,
                         const std::filesystem::path& like, bool like_exists, bool& created);

// Makes `link` a second name of the file `existing`.
SystemError LinkFile(const std::filesystem::path& existing, const std::filesystem::path& link);

// Renames `from` to `to`, replacing any file at `to`, durably where the platform can.
SystemError MoveFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

SystemError RemoveFile(const std::filesystem::path& path);

// Flushes the entries of `folder` to disk, where the platform needs it after renames.
SystemError SyncFolder(const std::filesystem::path& folder);

#endif  // KELVANE_LINEFILES_FILE_OPERATIONS_H_
