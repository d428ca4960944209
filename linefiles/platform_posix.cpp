#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "linefiles/platform.h"
#include "linefiles/run_error.h"

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& where, std::string_view problem, int error) {
  throw RunError(ErrorKind::kFile, ErrorPlace{where},
                 std::string(problem) + ": " + std::strerror(error));
}

[[noreturn]] void Fail(const fs::path& path, std::string_view problem, int error) {
  Fail(DisplayPath(path), problem, error);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now, so that a failure to close can be reported; the errno, or 0.
  int Close() {
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// A name beside `target` that no entry has yet: ".Pass1.txt.<tag>-<random>".
fs::path SiblingName(const fs::path& target, std::string_view tag) {
  static std::mt19937 random{std::random_device{}()};
  constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = "." + target.filename().string() + "." + std::string(tag) + "-";
  for (int i = 0; i < 8; ++i) name += kChars[random() % kChars.size()];
  return target.parent_path() / name;
}

// The folder of `path`, "." for a bare name.
fs::path FolderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

#ifdef __APPLE__
fs::path ExecutablePath() {
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string buffer(size, '\0');
  if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
  char resolved[PATH_MAX];
  return ::realpath(buffer.c_str(), resolved) ? fs::path(resolved) : fs::path();
}
#else
fs::path ExecutablePath() {
  std::error_code error;
  fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : path;
}
#endif

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

void WriteAll(int fd, std::string_view content, const fs::path& target) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) Fail(target, "cannot be written", errno);
    content.remove_prefix(static_cast<std::size_t>(written));
  }
}

// The permission bits of a new file: what the process's umask allows of rw-rw-rw-.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Gives the temporary the old file's owner (where the process may) and permissions.
void CopyAccess(int fd, const Staged& file, const struct stat& old) {
  if (!file.existed) {
    if (::fchmod(fd, NewFileMode()) != 0) Fail(file.target, "cannot be written", errno);
    return;
  }
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
  }
  if (::fchmod(fd, old.st_mode & 07777) != 0) Fail(file.target, "cannot be written", errno);
}

// In a sticky folder only the owner of a file, of the folder, or root may rename over
// it. Checked first: a hard link to another user's file there could not be removed again.
bool StickyForbids(const fs::path& folder, const struct stat& old) {
  struct stat status {};
  const uid_t user = ::geteuid();
  return ::stat(folder.c_str(), &status) == 0 && (status.st_mode & S_ISVTX) != 0 && user != 0 &&
         old.st_uid != user && status.st_uid != user;
}

void Stage(Staged& file, std::string_view content) {
  struct stat old {};
  file.existed = ::stat(file.target.c_str(), &old) == 0;
  if (file.existed && S_ISDIR(old.st_mode)) Fail(file.target, "cannot be replaced", EISDIR);
  if (file.existed && ::access(file.target.c_str(), W_OK) != 0) {
    Fail(file.target, "cannot be written", errno);
  }
  if (file.existed && StickyForbids(FolderOf(file.target), old)) {
    Fail(file.target, "cannot be replaced", EPERM);
  }
  int fd = -1;
  do {
    file.temporary = SiblingName(file.target, "new");
    fd = ::open(file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EEXIST);
  if (fd < 0) {
    const int error = errno;
    file.temporary.clear();
    throw RunError(ErrorKind::kFile, "cannot create a file in " +
                                         DisplayPath(FolderOf(file.target)) + ": " +
                                         std::strerror(error));
  }
  FileDescriptor descriptor(fd);
  CopyAccess(fd, file, old);
  WriteAll(fd, content, file.target);
  if (::fsync(fd) != 0) Fail(file.target, "cannot be written", errno);
  if (const int error = descriptor.Close()) Fail(file.target, "cannot be written", error);
}

// Keeps the old version under a temporary name: a second hard link, or where the file
// system has none, the file itself moved aside. The errno, or 0.
int KeepOld(Staged& file) {
  for (;;) {
    file.kept = SiblingName(file.target, "old");
    if (::link(file.target.c_str(), file.kept.c_str()) == 0) {
      file.kept_by_link = true;
      return 0;
    }
    if (errno == EEXIST) continue;
    if (::rename(file.target.c_str(), file.kept.c_str()) == 0) return 0;
    const int error = errno;
    file.kept.clear();
    if (error != EEXIST) return error;
  }
}

// Puts the new content in place of the target. The errno, or 0.
int Place(Staged& file) {
  if (file.existed) {
    if (const int error = KeepOld(file)) return error;
  }
  if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) return errno;
  file.temporary.clear();
  file.placed = true;
  return 0;
}

// Gives the target its old version back, by rename. The errno, or 0.
int Restore(Staged& file) {
  const bool moved = file.placed || (!file.kept.empty() && !file.kept_by_link);
  if (!moved) return 0;
  if (!file.existed) return ::unlink(file.target.c_str()) == 0 ? 0 : errno;
  if (::rename(file.kept.c_str(), file.target.c_str()) != 0) return errno;
  file.kept.clear();
  file.placed = false;
  return 0;
}

// Removes every temporary of a replacement, finished or not, except old versions that a
// failed restore left as the only copy.
class Cleanup {
 public:
  explicit Cleanup(std::vector<Staged>& files) : files_(files) {}
  ~Cleanup() {
    for (const Staged& file : files_) {
      if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
      if (!file.kept.empty() && !file.keep_old) ::unlink(file.kept.c_str());
    }
  }
  Cleanup(const Cleanup&) = delete;
  Cleanup& operator=(const Cleanup&) = delete;

 private:
  std::vector<Staged>& files_;
};

[[noreturn]] void FailAndRestore(std::vector<Staged>& files, std::size_t failed, int error) {
  std::string message =
      DisplayPath(files[failed].target) + ": cannot be replaced: " + std::strerror(error);
  for (std::size_t i = 0; i <= failed; ++i) {
    if (const int restore_error = Restore(files[i])) {
      files[i].keep_old = true;
      message += "; " + DisplayPath(files[i].target) + " could not be restored (" +
                 std::strerror(restore_error) + ") and its old contents are in " +
                 DisplayPath(files[i].kept);
    }
  }
  throw RunError(ErrorKind::kFile, message);
}

void SyncFolder(const fs::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot sync a folder (EINVAL); the renames are then as durable as
  // that file system makes them.
  if (fd.get() >= 0 && ::fsync(fd.get()) != 0 && errno != EINVAL) {
    Fail(folder, "the files were replaced but the folder cannot be flushed to disk", errno);
  }
}

}  // namespace

fs::path ProgramDir() {
  const fs::path executable = ExecutablePath();
  if (executable.empty() || !executable.has_parent_path()) {
    throw RunError(ErrorKind::kFile, "the program's folder cannot be found");
  }
  return executable.parent_path();
}

bool FileExists(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

std::string ReadWholeFile(const fs::path& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) Fail(path, "cannot be opened", errno);
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) Fail(path, "cannot be read", errno);
  if (!S_ISREG(status.st_mode)) {
    throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(path)}, "is not a regular file");
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  if (size > kMaxFileBytes) {
    throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(path)},
                   "is " + std::to_string(size) + " bytes, larger than any line file (at most " +
                       std::to_string(kMaxFileBytes) + ")");
  }
  std::string content(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd.get(), content.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(path, "cannot be read", errno);
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  content.resize(got);
  return content;
}

void ReplaceFiles(std::span<const FileReplacement> files) {
  std::vector<Staged> staged(files.size());
  const Cleanup cleanup(staged);
  for (std::size_t i = 0; i < files.size(); ++i) {
    staged[i].target = files[i].path;
    Stage(staged[i], files[i].content);
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (const int error = Place(staged[i])) FailAndRestore(staged, i, error);
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const fs::path folder = FolderOf(staged[i].target);
    if (i == 0 || folder != FolderOf(staged[i - 1].target)) SyncFolder(folder);
  }
}

std::string DisplayPath(const fs::path& path) { return path.string(); }

void WriteStandardError(std::string_view text) {
  ::signal(SIGPIPE, SIG_IGN);
  while (!text.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}
