// ReplaceFiles, the same on every platform, on top of the file operations.

#include <random>
#include <string>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/file_operations.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

// One file of a replacement, from its temporary to its place.
struct Staged {
  fs::path target;
  fs::path temporary;  // the new content, until it is placed
  fs::path kept;       // the old version, while it is kept aside
  bool existed = false;
  bool kept_by_link = false;
  bool placed = false;
  bool keep_old = false;  // the kept version must survive: a restore failed
};

// A hidden name beside `target` that is likely new: ".<target name>.<tag>-<random>".
fs::path SiblingName(const fs::path& target, std::string_view tag) {
  static std::mt19937 random{std::random_device{}()};
  constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
  fs::path name(".");
  name += target.filename();
  std::string suffix(1, '.');
  suffix.append(tag).append(1, '-');
  for (int i = 0; i < 8; ++i) suffix += kChars[random() % kChars.size()];
  name += suffix;
  return FolderOf(target) / name;
}

// A symbolic link is followed, so that the file it leads to is replaced and the link stays.
fs::path Followed(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  fs::path real = fs::canonical(path, error);
  return error ? path : real;
}

void Stage(Staged& file, std::string_view content) {
  std::string_view problem;
  SystemError error = CheckReplaceable(file.target, file.existed, problem);
  if (error) FailFile(file.target, problem, error);
  bool created = false;
  do {
    file.temporary = SiblingName(file.target, "new");
    error = WriteNewFile(file.temporary, content, file.target, file.existed, created);
  } while (!created && IsAlreadyExists(error));
  if (!created) file.temporary.clear();
  if (error && !created) {
    throw RunError(
        ErrorKind::kFile,
        "cannot create a file in " + DisplayPath(FolderOf(file.target)) + ": " + ReasonOf(error));
  }
  if (error) FailFile(file.target, "cannot be written", error);
}

// Keeps the old version under a temporary name: a second hard link, or where the file
// system has none, the file itself moved aside.
SystemError KeepOld(Staged& file) {
  for (;;) {
    file.kept = SiblingName(file.target, "old");
    const SystemError link_error = LinkFile(file.target, file.kept);
    if (!link_error) {
      file.kept_by_link = true;
      return 0;
    }
    if (IsAlreadyExists(link_error)) continue;
    const SystemError move_error = MoveFileOver(file.target, file.kept);
    if (!move_error) return 0;
    file.kept.clear();
    return move_error;
  }
}

SystemError Place(Staged& file) {
  if (file.existed) {
    if (const SystemError error = KeepOld(file)) return error;
  }
  if (const SystemError error = MoveFileOver(file.temporary, file.target)) return error;
  file.temporary.clear();
  file.placed = true;
  return 0;
}

// Gives the target its old version back, by rename; a target that had none is removed.
SystemError Restore(Staged& file) {
  // Until the new file is placed, a target kept by a hard link is still the old file under
  // its own name: only a placed file, or one moved aside, needs to be moved back.
  const bool moved = file.placed || (!file.kept.empty() && !file.kept_by_link);
  if (!moved) return 0;
  if (!file.existed) return RemoveFile(file.target);
  if (const SystemError error = MoveFileOver(file.kept, file.target)) return error;
  file.kept.clear();
  file.placed = false;
  return 0;
}

void IgnoreError(SystemError) {}

// Removes every temporary of a replacement, finished or not, but an old version that a
// failed restore left as the only copy.
class Cleanup {
 public:
  explicit Cleanup(std::vector<Staged>& files) : files_(files) {}
  ~Cleanup() {
    for (const Staged& file : files_) {
      // Nothing more can be done about a temporary that will not go: it is hidden, and
      // the targets are whole either way.
      if (!file.temporary.empty()) IgnoreError(RemoveFile(file.temporary));
      if (!file.kept.empty() && !file.keep_old) IgnoreError(RemoveFile(file.kept));
    }
  }
  Cleanup(const Cleanup&) = delete;
  Cleanup& operator=(const Cleanup&) = delete;

 private:
  std::vector<Staged>& files_;
};

[[noreturn]] void FailAndRestore(std::vector<Staged>& files, std::size_t failed,
                                 SystemError error) {
  std::string message =
      DisplayPath(files[failed].target) + ": cannot be replaced: " + ReasonOf(error);
  for (std::size_t i = 0; i <= failed; ++i) {
    if (const SystemError restore_error = Restore(files[i])) {
      files[i].keep_old = true;
      message += "; " + DisplayPath(files[i].target) + " could not be restored (" +
                 ReasonOf(restore_error) + ") and its old contents are in " +
                 DisplayPath(files[i].kept);
    }
  }
  throw RunError(ErrorKind::kFile, message);
}

}  // namespace

void ReplaceFiles(std::span<const FileReplacement> files) {
  std::vector<Staged> staged(files.size());
  const Cleanup cleanup(staged);
  for (std::size_t i = 0; i < files.size(); ++i) {
    staged[i].target = Followed(files[i].path);
    Stage(staged[i], files[i].content);
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (const SystemError error = Place(staged[i])) FailAndRestore(staged, i, error);
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const fs::path folder = FolderOf(staged[i].target);
    if (i > 0 && folder == FolderOf(staged[i - 1].target)) continue;
    if (const SystemError error = SyncFolder(folder)) {
      FailFile(folder, "the files were replaced, but the folder cannot be flushed to disk", error);
    }
  }
}
