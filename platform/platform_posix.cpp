// The platform layer on POSIX systems: Linux and macOS.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/file_operations.h"
#include "platform/files.h"
#include "platform/process.h"

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace fs = std::filesystem;

namespace {

SystemError LastError() { return static_cast<SystemError>(errno); }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now, so that a failure to close can be reported.
  SystemError Close() { return ::close(std::exchange(fd_, -1)) == 0 ? 0 : LastError(); }

 private:
  int fd_;
};

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

// In a sticky folder only the owner of a file, of the folder, or root may rename over it.
// Checked first: a hard link to another user's file there could not be removed again.
bool StickyForbids(const fs::path& folder, const struct stat& old) {
  struct stat status {};
  const uid_t user = ::geteuid();
  return ::stat(folder.c_str(), &status) == 0 && (status.st_mode & S_ISVTX) != 0 && user != 0 &&
         old.st_uid != user && status.st_uid != user;
}

// The permission bits of a new file: what the process's umask allows of rw-rw-rw-.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

SystemError CopyAccess(int fd, const fs::path& like, bool like_exists) {
  struct stat old {};
  if (!like_exists || ::stat(like.c_str(), &old) != 0) {
    return ::fchmod(fd, NewFileMode()) == 0 ? 0 : LastError();
  }
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : LastError();
}

SystemError WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return LastError();
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace

fs::path ProgramDir() {
  const fs::path executable = ExecutablePath();
  if (!executable.has_parent_path()) {
    throw RunError(ErrorKind::kFile, "the program's folder cannot be found");
  }
  return executable.parent_path();
}

bool FileExists(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

bool IsFolder(const fs::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string ReadWholeFile(const fs::path& path, std::size_t max_bytes, std::string_view too_large) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer before it can be refused.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) FailFile(path, "cannot be opened", LastError());
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) FailFile(path, "cannot be read", LastError());
  if (!S_ISREG(status.st_mode)) RefuseFile(path, "is not a regular file");
  CheckFileSize(path, static_cast<unsigned long long>(status.st_size), max_bytes, too_large);
  const auto size = static_cast<std::size_t>(status.st_size);
  std::string content(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd.get(), content.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailFile(path, "cannot be read", LastError());
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  content.resize(got);
  return content;
}

std::string DisplayPath(const fs::path& path) { return path.string(); }

void IgnoreClosedPipes() { ::signal(SIGPIPE, SIG_IGN); }

void WriteStandardError(std::string_view text) {
  [[maybe_unused]] const SystemError ignored = WriteAll(STDERR_FILENO, text);
}

bool WriteStandardOutput(std::string_view text) { return WriteAll(STDOUT_FILENO, text) == 0; }

std::string ReasonOf(SystemError error) { return std::strerror(static_cast<int>(error)); }

bool IsAlreadyExists(SystemError error) { return error == EEXIST; }

SystemError CheckReplaceable(const fs::path& target, bool& exists, std::string_view& problem) {
  struct stat old {};
  exists = ::stat(target.c_str(), &old) == 0;
  if (!exists) return 0;
  problem = "cannot be replaced";
  if (S_ISDIR(old.st_mode)) return EISDIR;
  if (::access(target.c_str(), W_OK) != 0) {
    problem = "cannot be written";
    return LastError();
  }
  return StickyForbids(FolderOf(target), old) ? EPERM : 0;
}

SystemError WriteNewFile(const fs::path& path, std::string_view content, const fs::path& like,
                         bool like_exists, bool& created) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  created = fd.get() >= 0;
  if (!created) return LastError();
  if (const SystemError error = CopyAccess(fd.get(), like, like_exists)) return error;
  if (const SystemError error = WriteAll(fd.get(), content)) return error;
  if (::fsync(fd.get()) != 0) return LastError();
  return fd.Close();
}

SystemError LinkFile(const fs::path& existing, const fs::path& link) {
  return ::link(existing.c_str(), link.c_str()) == 0 ? 0 : LastError();
}

SystemError MoveFileOver(const fs::path& from, const fs::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : LastError();
}

SystemError RemoveFile(const fs::path& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : LastError();
}

// Some file systems cannot sync a folder (EINVAL); the renames are then as durable as
// that file system makes them.
SystemError SyncFolder(const fs::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0 || ::fsync(fd.get()) == 0 || errno == EINVAL) return 0;
  return LastError();
}
