// The platform layer on POSIX systems: Linux and macOS.

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
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
#include "platform/files.h"
#include "platform/folder.h"
#include "platform/process.h"

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace kelvane {

namespace fs = std::filesystem;

namespace {

SystemError LastError() { return static_cast<SystemError>(errno); }
SystemError Result(int status) { return status == 0 ? 0 : LastError(); }

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

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

SystemError WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return LastError();
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

FileFacts FactsOf(const struct stat& status) {
  return {true,
          S_ISREG(status.st_mode),
          S_ISLNK(status.st_mode),
          static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino),
          static_cast<std::uint64_t>(status.st_nlink),
          static_cast<std::uint64_t>(status.st_size),
          static_cast<std::int64_t>(status.st_mtime)};
}

std::string UserName(uid_t uid) {
  char buffer[4096];
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return "user " + std::to_string(uid);
}

// In a sticky folder only the owner of an entry, of the folder, or root may rename or
// remove it. Checked first: a hard link to another user's file there could not be removed.
bool StickyForbids(const struct stat& folder, const struct stat& entry) {
  const uid_t user = ::geteuid();
  return (folder.st_mode & S_ISVTX) != 0 && user != 0 && entry.st_uid != user &&
         folder.st_uid != user;
}

#ifdef __linux__
// Extended attributes, POSIX ACLs among them (system.posix_acl_access), after the mode,
// which would otherwise reset the ACL's mask. `like` is reached through the folder's own
// descriptor, and a link at its name is not followed.
void CopyExtendedAttributes(int fd, int folder, const fs::path& like) {
  const std::string path = "/proc/self/fd/" + std::to_string(folder) + "/" + like.string();
  const ssize_t size = ::llistxattr(path.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::string names(static_cast<std::size_t>(size), '\0');
  const ssize_t got = ::llistxattr(path.c_str(), names.data(), names.size());
  if (got <= 0) return;
  names.resize(static_cast<std::size_t>(got));
  for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
    const char* name = names.c_str() + at;
    char value[65536];
    const ssize_t read = ::lgetxattr(path.c_str(), name, value, sizeof value);
    if (read < 0) continue;
    [[maybe_unused]] const int ignored =
        ::fsetxattr(fd, name, value, static_cast<std::size_t>(read), 0);
  }
}
#else
void CopyExtendedAttributes(int, int, const fs::path&) {}
#endif

// Gives the new file `fd` what the user set up on the file `like` in `folder`, as far as
// the file system and the process's rights allow: none of it is needed for the content to
// be right, so every refusal (a file system without owners or modes, a group the user is
// not in) is passed over.
void CopyAccess(int fd, int folder, const fs::path& like) {
  struct stat old {};
  if (::fstatat(folder, like.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) return;
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int group_alone = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
  }
  [[maybe_unused]] const int mode = ::fchmod(fd, old.st_mode & 07777);
  CopyExtendedAttributes(fd, folder, like);
}

// Locks the journal `fd` opened at `name` in `folder` without waiting. Anything but a
// regular file of one name is left unlocked, for the caller to refuse.
SystemError LockJournal(int fd, int folder, const char* name) {
  struct stat held {
  }, named{}, parent{};
  if (::fstat(fd, &held) != 0 || ::fstat(folder, &parent) != 0) return LastError();
  if (!S_ISREG(held.st_mode) || held.st_nlink != 1) return 0;
  if (StickyForbids(parent, held)) return EPERM;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return LastError();
  // A journal that its holder removed meanwhile is not the journal any more.
  if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != held.st_dev ||
      named.st_ino != held.st_ino) {
    return EWOULDBLOCK;
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

std::string PathText(const fs::path& path) { return path.string(); }

void UseSystemDllsOnly() {}

void IgnoreClosedPipes() { ::signal(SIGPIPE, SIG_IGN); }

bool ReachStandardError() {
  struct stat facts {};
  if (::fstat(STDERR_FILENO, &facts) == 0 &&
      (::isatty(STDERR_FILENO) || S_ISREG(facts.st_mode) || S_ISFIFO(facts.st_mode))) {
    return true;
  }
  const int terminal = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (terminal < 0) return false;
  ::close(terminal);
  return true;
}

bool StartedFromTerminal() {
  return ::isatty(STDIN_FILENO) || ::isatty(STDOUT_FILENO) || ::isatty(STDERR_FILENO);
}

void WriteStandardError(std::string_view text) { Ignore(WriteAll(STDERR_FILENO, text)); }

bool WriteStandardOutput(std::string_view text) { return WriteAll(STDOUT_FILENO, text) == 0; }

std::string ReasonOf(SystemError error) {
  if (error == kChangedMeanwhile) return "another file took its name while it was checked";
  return std::strerror(static_cast<int>(error));
}

bool IsNotFound(SystemError error) { return error == ENOENT; }

bool IsBusy(SystemError error) { return error == EWOULDBLOCK; }

HeldFile::HeldFile(HeldFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  std::swap(handle_, other.handle_);
  return *this;
}

HeldFile::~HeldFile() {
  if (handle_ >= 0) ::close(Fd(handle_));
}

SystemError HeldFile::Facts(FileFacts& facts) const {
  struct stat status {};
  if (::fstat(Fd(handle_), &status) != 0) return LastError();
  facts = FactsOf(status);
  return 0;
}

SystemError HeldFile::Write(std::string_view piece) { return WriteAll(Fd(handle_), piece); }

SystemError HeldFile::Read(char* out, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = ::read(Fd(handle_), out + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return 0;
}

SystemError HeldFile::Rewind() { return ::lseek(Fd(handle_), 0, SEEK_SET) == 0 ? 0 : LastError(); }

SystemError HeldFile::Flush() {
  const off_t size = ::lseek(Fd(handle_), 0, SEEK_CUR);
  return size < 0 || ::ftruncate(Fd(handle_), size) != 0 || ::fsync(Fd(handle_)) != 0 ? LastError()
                                                                                      : 0;
}

SystemError HeldFile::Close() { return Result(::close(Fd(std::exchange(handle_, -1)))); }

SystemError Folder::Open(const fs::path& path) {
  path_ = path;
  handle_ = {};
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  handle_.handle_ = fd;
  return 0;
}

SystemError Folder::Stat(const fs::path& name, FileFacts& facts) const {
  struct stat status {};
  facts = {};
  if (::fstatat(Fd(handle_.handle_), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    facts = FactsOf(status);
    return 0;
  }
  return IsNotFound(LastError()) ? 0 : LastError();
}

SystemError Folder::GetOwner(const fs::path& name, Owner& owner) const {
  struct stat entry {
  }, folder{};
  const int fd = Fd(handle_.handle_);
  if (::fstatat(fd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 || ::fstat(fd, &folder) != 0) {
    return LastError();
  }
  const bool only_its_owner_writes = (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
  owner.name = UserName(entry.st_uid);
  owner.id = std::to_string(entry.st_uid);
  owner.you = entry.st_uid == ::geteuid();
  owner.trusted =
      owner.you || (only_its_owner_writes && (entry.st_uid == folder.st_uid || entry.st_uid == 0));
  owner.removable = !StickyForbids(folder, entry);
  return 0;
}

SystemError Folder::ReadLink(const fs::path& name, fs::path& text) const {
  char buffer[PATH_MAX];
  const ssize_t size = ::readlinkat(Fd(handle_.handle_), name.c_str(), buffer, sizeof buffer);
  if (size < 0) return LastError();
  if (static_cast<std::size_t>(size) == sizeof buffer) return ENAMETOOLONG;
  text = std::string(buffer, static_cast<std::size_t>(size));
  return 0;
}

SystemError Folder::Open(const fs::path& name, OpenAs as, HeldFile& file) const {
  int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  flags |= as == OpenAs::kRead ? O_RDONLY : as == OpenAs::kWrite ? O_WRONLY : O_RDWR | O_CREAT;
  // A new journal gets the mode a new pass line gets, so that a teammate's run can mend
  // what a crash left, where the folder lets them.
  const int fd = ::openat(Fd(handle_.handle_), name.c_str(), flags, 0666);
  if (fd < 0) return LastError();
  file = {};
  file.handle_ = fd;
  return as == OpenAs::kJournal ? LockJournal(fd, Fd(handle_.handle_), name.c_str()) : 0;
}

SystemError Folder::Create(const fs::path& name, const fs::path& like, HeldFile& file) const {
  // Private until it has the old file's access; a file with none gets the umask's.
  const int fd =
      ::openat(Fd(handle_.handle_), name.c_str(),
               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, like.empty() ? 0666 : 0600);
  if (fd < 0) return LastError();
  file = {};
  file.handle_ = fd;
  if (!like.empty()) CopyAccess(fd, Fd(handle_.handle_), like);
  return 0;
}

std::string Folder::ReplaceProblem(const fs::path& name) const {
  const int fd = Fd(handle_.handle_);
  struct stat old {
  }, folder{};
  if (::fstatat(fd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
    return "cannot be read: " + ReasonOf(LastError());
  }
  if (S_ISDIR(old.st_mode)) return "cannot be replaced: " + ReasonOf(EISDIR);
  if (!S_ISREG(old.st_mode)) return "is not a regular file, so it is not replaced";
  if (::faccessat(fd, name.c_str(), W_OK, 0) != 0) {
    return "cannot be written: " + ReasonOf(LastError());
  }
  if (::fstat(fd, &folder) == 0 && StickyForbids(folder, old)) {
    return "cannot be replaced: " + ReasonOf(EPERM);
  }
  return "";
}

SystemError Folder::Link(const fs::path& existing, const fs::path& link) const {
  const int fd = Fd(handle_.handle_);
  return Result(::linkat(fd, existing.c_str(), fd, link.c_str(), 0));
}

SystemError Folder::Rename(const fs::path& from, const fs::path& to) const {
  const int fd = Fd(handle_.handle_);
  return Result(::renameat(fd, from.c_str(), fd, to.c_str()));
}

SystemError Folder::Place(const fs::path& from, const fs::path& to) const {
  return Rename(from, to);
}

SystemError Folder::Remove(const fs::path& name) const {
  return Result(::unlinkat(Fd(handle_.handle_), name.c_str(), 0));
}

SystemError Folder::RemoveHeld(const fs::path& name, HeldFile& file) const {
  SystemError error = Remove(name);
  if (!error) error = Sync();
  const SystemError closed = file.Close();
  return error ? error : closed;
}

SystemError Folder::List(std::vector<fs::path>& names) const {
  const int fd = ::openat(Fd(handle_.handle_), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
  if (dir == nullptr) {
    const SystemError error = LastError();
    if (fd >= 0) ::close(fd);
    return error;
  }
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  return 0;
}

// Some file systems cannot sync a folder (EINVAL); the renames are then as durable as
// that file system makes them.
SystemError Folder::Sync() const {
  return ::fsync(Fd(handle_.handle_)) == 0 || errno == EINVAL ? 0 : LastError();
}
}  // namespace kelvane
