// The platform layer on POSIX systems: Linux and macOS.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
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

#ifdef __linux__
// Extended attributes, POSIX ACLs among them (system.posix_acl_access), after the mode,
// which would otherwise reset the ACL's mask.
void CopyExtendedAttributes(int fd, const fs::path& like) {
  const ssize_t size = ::listxattr(like.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::string names(static_cast<std::size_t>(size), '\0');
  const ssize_t got = ::listxattr(like.c_str(), names.data(), names.size());
  if (got <= 0) return;
  names.resize(static_cast<std::size_t>(got));
  for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
    const char* name = names.c_str() + at;
    const ssize_t length = ::getxattr(like.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    std::string value(static_cast<std::size_t>(length), '\0');
    const ssize_t read = ::getxattr(like.c_str(), name, value.data(), value.size());
    if (read < 0) continue;
    [[maybe_unused]] const int ignored =
        ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(read), 0);
  }
}
#else
void CopyExtendedAttributes(int, const fs::path&) {}
#endif

// In a sticky folder only the owner of a file, of the folder, or root may rename over it.
// Checked first: a hard link to another user's file there could not be removed again.
bool StickyForbids(const fs::path& folder, const struct stat& old) {
  struct stat status {};
  const uid_t user = ::geteuid();
  return ::stat(folder.c_str(), &status) == 0 && (status.st_mode & S_ISVTX) != 0 && user != 0 &&
         old.st_uid != user && status.st_uid != user;
}

// Gives the new file `fd` what the user set up on the file `like`, as far as the file
// system and the process's rights allow: none of it is needed for the content to be right,
// so every refusal (a file system without owners or modes, a group the user is not in) is
// passed over.
void CopyAccess(int fd, const fs::path& like) {
  struct stat old {};
  if (::stat(like.c_str(), &old) != 0) return;
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int group_alone = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
  }
  [[maybe_unused]] const int mode = ::fchmod(fd, old.st_mode & 07777);
  CopyExtendedAttributes(fd, like);
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

void ReadWholeFile(const fs::path& path, std::size_t max_bytes, std::string_view too_large,
                   FileBytes& bytes) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer before it can be refused.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) FailFile(path, "cannot be opened", LastError());
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) FailFile(path, "cannot be read", LastError());
  if (!S_ISREG(status.st_mode)) RefuseFile(path, "is not a regular file");
  CheckFileSize(path, static_cast<unsigned long long>(status.st_size), max_bytes, too_large);
  const auto size = static_cast<std::size_t>(status.st_size);
  char* const content = bytes.Prepare(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd.get(), content + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailFile(path, "cannot be read", LastError());
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.SetSize(got);
}

std::string DisplayPath(const fs::path& path) { return path.string(); }

void IgnoreClosedPipes() { ::signal(SIGPIPE, SIG_IGN); }

void WriteStandardError(std::string_view text) {
  [[maybe_unused]] const SystemError ignored = WriteAll(STDERR_FILENO, text);
}

bool WriteStandardOutput(std::string_view text) { return WriteAll(STDOUT_FILENO, text) == 0; }

std::string ReasonOf(SystemError error) { return std::strerror(static_cast<int>(error)); }

bool IsAlreadyExists(SystemError error) { return error == EEXIST; }

bool IsNotFound(SystemError error) { return error == ENOENT; }

namespace {

FileFacts FactsOf(const struct stat& status) {
  return {true, static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino), static_cast<std::uint64_t>(status.st_nlink)};
}

}  // namespace

SystemError StatFile(const fs::path& path, FileFacts& facts) {
  struct stat status {};
  facts = {};
  if (::stat(path.c_str(), &status) == 0) {
    facts = FactsOf(status);
    return 0;
  }
  return IsNotFound(LastError()) ? 0 : LastError();
}

std::string CheckReplaceable(const fs::path& target, FileFacts& facts) {
  struct stat old {};
  facts = {};
  if (::stat(target.c_str(), &old) != 0) return "";
  facts = FactsOf(old);
  if (S_ISDIR(old.st_mode)) return "cannot be replaced: " + ReasonOf(EISDIR);
  if (!S_ISREG(old.st_mode)) return "is not a regular file, so it is not replaced";
  if (::access(target.c_str(), W_OK) != 0) return "cannot be written: " + ReasonOf(LastError());
  if (StickyForbids(FolderOf(target), old)) return "cannot be replaced: " + ReasonOf(EPERM);
  return "";
}

NewFile::~NewFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

SystemError NewFile::Create(const fs::path& path, const fs::path& like, bool like_exists) {
  // Private until it has the old file's access; a new file gets the umask's.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, like_exists ? 0600 : 0666);
  if (fd < 0) return LastError();
  handle_ = fd;
  if (like_exists) CopyAccess(fd, like);
  return 0;
}

SystemError NewFile::Write(std::string_view piece) {
  return WriteAll(static_cast<int>(handle_), piece);
}

SystemError NewFile::Finish() {
  const int fd = static_cast<int>(std::exchange(handle_, -1));
  const SystemError error = ::fsync(fd) == 0 ? 0 : LastError();
  return ::close(fd) == 0 || error ? error : LastError();
}

SystemError WriteInPlace(const fs::path& path, const ContentSource& content) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0) return LastError();
  const auto write = [&fd](std::string_view piece) { return WriteAll(fd.get(), piece); };
  if (const SystemError error = WriteEach(content, write)) return error;
  const off_t size = ::lseek(fd.get(), 0, SEEK_CUR);
  if (size < 0 || ::ftruncate(fd.get(), size) != 0) return LastError();
  if (::fsync(fd.get()) != 0) return LastError();
  return fd.Close();
}

SystemError ReadFileInto(const fs::path& path, std::string& content) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return LastError();
  content.clear();
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    if (n == 0) return 0;
    content.append(buffer, static_cast<std::size_t>(n));
  }
}

SystemError LinkFile(const fs::path& existing, const fs::path& link) {
  return ::link(existing.c_str(), link.c_str()) == 0 ? 0 : LastError();
}

SystemError PlaceFile(const fs::path& from, const fs::path& to) { return MoveFileOver(from, to); }

SystemError MoveFileOver(const fs::path& from, const fs::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : LastError();
}

SystemError RemoveFile(const fs::path& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : LastError();
}

SystemError ListFolder(const fs::path& folder, std::vector<fs::path>& names) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return LastError();
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  return 0;
}

// Some file systems cannot sync a folder (EINVAL); the renames are then as durable as
// that file system makes them.
SystemError SyncFolder(const fs::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0 || ::fsync(fd.get()) == 0 || errno == EINVAL) return 0;
  return LastError();
}

LockedFile::~LockedFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

// The lock is flock's, which the system drops with the last descriptor. A file that its
// holder removed while this process waited is not the journal any more: open it anew.
SystemError LockedFile::Open(const fs::path& path) {
  path_ = path;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return LastError();
    handle_ = fd;
    int locked = 0;
    do locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) return LastError();
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0) return LastError();
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      return 0;
    }
    ::close(fd);
    handle_ = -1;
  }
}

SystemError LockedFile::Read(std::string& content) { return ReadFileInto(path_, content); }

SystemError LockedFile::Rewrite(std::string_view content) {
  const int fd = static_cast<int>(handle_);
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) return LastError();
  if (const SystemError error = WriteAll(fd, content)) return error;
  return ::fsync(fd) == 0 ? 0 : LastError();
}

SystemError LockedFile::Remove() {
  if (::unlink(path_.c_str()) != 0) return LastError();
  const SystemError error = SyncFolder(FolderOf(path_));
  ::close(static_cast<int>(std::exchange(handle_, -1)));
  return error;
}
