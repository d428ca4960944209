// The platform layer on Windows: wide (W) functions throughout, so that any folder name
// works.

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/files.h"
#include "platform/folder.h"
#include "platform/process.h"
#include "platform/utf16.h"
#include "platform/windows_api.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

// `path` in the form that lifts the MAX_PATH limit from the W functions: "\\?\C:\..." or
// "\\?\UNC\server\share\...". Such paths are taken literally, so it is made absolute and
// normal first.
std::wstring Long(const fs::path& path) {
  const std::wstring full = fs::absolute(path).lexically_normal().native();
  if (full.starts_with(L"\\\\?\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now, so that a failure to close can be reported.
  SystemError Close() {
    return ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) ? 0 : ::GetLastError();
  }

 private:
  HANDLE handle_;
};

SystemError WriteAll(HANDLE file, std::string_view content) {
  // WriteFile takes at most a DWORD's worth at a time.
  while (!content.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, content.data(), chunk, &written, nullptr)) return ::GetLastError();
    content.remove_prefix(written);
  }
  return 0;
}

HANDLE Raw(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

FileFacts FactsOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return {true, false, false, 0, 0, 1, 0, 0};
  // FILETIME counts 100 ns from 1601.
  const std::uint64_t written = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
  const bool link = info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
  const bool folder = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
  return {true,
          !link && !folder && ::GetFileType(file) == FILE_TYPE_DISK,
          link,
          info.dwVolumeSerialNumber,
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
          info.nNumberOfLinks,
          (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
          static_cast<std::int64_t>(written / 10000000) - 11644473600};
}

// Opens `path` itself, never what a reparse point at it leads to.
HANDLE OpenEntry(const fs::path& path, DWORD access, DWORD share, DWORD disposition,
                 DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return ::CreateFileW(Long(path).c_str(), access, share, nullptr, disposition,
                       flags | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!::ConvertSidToStringSidW(sid, &text)) return "";
  const std::string result = Utf8(text);
  ::LocalFree(text);
  return result;
}

std::string AccountName(PSID sid) {
  wchar_t name[256], domain[256];
  DWORD name_size = 256, domain_size = 256;
  SID_NAME_USE use;
  if (::LookupAccountSidW(nullptr, sid, name, &name_size, domain, &domain_size, &use)) {
    return Utf8(domain_size > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name));
  }
  const std::string text = SidText(sid);
  return text.empty() ? "an unknown account" : text;
}

// Whether `sid` is the user running this program.
bool IsYou(PSID sid) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  alignas(TOKEN_USER) unsigned char buffer[256];
  DWORD size = 0;
  const bool got = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  ::CloseHandle(token);
  return got && ::EqualSid(sid, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

// Whether `sid` owns the links that are followed: the user running this program, an
// administrator or the system.
bool IsTrustedOwner(PSID sid) {
  return ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
         ::IsWellKnownSid(sid, WinLocalSystemSid) || IsYou(sid);
}

// ERROR_DIRECTORY_NOT_SUPPORTED, which MinGW-w64's headers lack.
constexpr DWORD kErrorIsFolder = 336;

// The attributes a replacement keeps: those a user sets, never "read-only" (such a target
// is refused) and never those that describe how a file is stored.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

fs::path ProgramDir() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      throw RunError(ErrorKind::kFile,
                     "the program's folder cannot be found: " + ReasonOf(::GetLastError()));
    }
    if (length < buffer.size()) return fs::path(buffer.substr(0, length)).parent_path();
    buffer.resize(buffer.size() * 2);
  }
}

bool FileExists(const fs::path& path) {
  WIN32_FIND_DATAW data;
  const HANDLE search = ::FindFirstFileW(Long(path).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

bool IsFolder(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(Long(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string PathText(const fs::path& path) { return Utf8(path.native()); }

// The program's folder is where a downloaded program sits beside whatever else was
// downloaded; the working folder is wherever it was started from.
void UseSystemDllsOnly() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");
}

// A closed pipe only makes a write fail on Windows.
void IgnoreClosedPipes() {}

// A handle a script or a console gave: NUL too, which its user chose.
bool ReachStandardError() {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) {
    return ::GetFileType(error) != FILE_TYPE_UNKNOWN;
  }
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  const HANDLE console =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  return console != INVALID_HANDLE_VALUE && ::SetStdHandle(STD_ERROR_HANDLE, console);
}

// A program with a window gets no console of its own: the one that started it had one.
bool StartedFromTerminal() {
  if (::GetConsoleWindow() != nullptr) return true;  // taken already (ReachStandardError)
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  ::FreeConsole();
  return true;
}

void WriteStandardError(std::string_view text) {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  Ignore(WriteAll(error, text));
}

bool WriteStandardOutput(std::string_view text) {
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE &&
      ::GetFileType(output) != FILE_TYPE_UNKNOWN) {
    return WriteAll(output, text) == 0;
  }
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  Handle console(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr));
  if (!console.valid()) return false;
  // The console's prompt is already there: the text goes on a line of its own.
  const std::wstring wide = L"\r\n" + Utf16(text);
  DWORD written = 0;
  return ::WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != 0;
}

std::string ReasonOf(SystemError error) {
  if (error == kChangedMeanwhile) return "another file took its name while it was checked";
  // The reasons a user meets most, in the words the platform layer promises.
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
    return "in use by another program";
  }
  if (error == kErrorIsFolder) return "it is a folder";
  if (error == ERROR_FILE_READ_ONLY) return "it is read-only";
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = length > 0 ? std::wstring(text, length) : std::wstring();
  ::LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                             reason.back() == L' ' || reason.back() == L'.')) {
    reason.pop_back();
  }
  return reason.empty() ? "system error " + std::to_string(error) : Utf8(reason);
}

bool IsNotFound(SystemError error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsBusy(SystemError error) { return error == ERROR_SHARING_VIOLATION; }

HeldFile::HeldFile(HeldFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  std::swap(handle_, other.handle_);
  return *this;
}

HeldFile::~HeldFile() {
  if (handle_ != -1) ::CloseHandle(Raw(handle_));
}

SystemError HeldFile::Facts(FileFacts& facts) const {
  facts = FactsOf(Raw(handle_));
  return 0;
}

SystemError HeldFile::Write(std::string_view piece) { return WriteAll(Raw(handle_), piece); }

SystemError HeldFile::Read(char* out, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - got, 1 << 20));
    if (!::ReadFile(Raw(handle_), out + got, chunk, &read, nullptr)) return ::GetLastError();
    if (read == 0) break;
    got += read;
  }
  return 0;
}

SystemError HeldFile::Rewind() {
  return ::SetFilePointerEx(Raw(handle_), LARGE_INTEGER{}, nullptr, FILE_BEGIN) ? 0
                                                                                : ::GetLastError();
}

SystemError HeldFile::Flush() {
  return ::SetEndOfFile(Raw(handle_)) && ::FlushFileBuffers(Raw(handle_)) ? 0 : ::GetLastError();
}

SystemError HeldFile::Close() {
  return ::CloseHandle(Raw(std::exchange(handle_, -1))) ? 0 : ::GetLastError();
}

// Names in it are taken through its path: Windows has no call that takes a name relative to
// a folder's handle, and every call here on a name acts on that name itself, never on what a
// reparse point there leads to. The handle is held without letting others delete, so that
// neither the folder nor a folder above it can be renamed or replaced while it is held: the
// path names the same folder for as long as this object lives.
SystemError Folder::Open(const fs::path& path) {
  path_ = path;
  handle_ = {};
  const HANDLE folder =
      ::CreateFileW(Long(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return ::GetLastError();
  handle_.handle_ = reinterpret_cast<std::intptr_t>(folder);
  return 0;
}

SystemError Folder::Stat(const fs::path& name, FileFacts& facts) const {
  facts = {};
  Handle entry(OpenEntry(Show(name), FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING));
  if (!entry.valid()) return IsNotFound(::GetLastError()) ? 0 : ::GetLastError();
  facts = FactsOf(entry.get());
  return 0;
}

SystemError Folder::GetOwner(const fs::path& name, Owner& owner) const {
  Handle entry(OpenEntry(Show(name), READ_CONTROL, kShareAll, OPEN_EXISTING));
  if (!entry.valid()) return ::GetLastError();
  PSID sid = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error = ::GetSecurityInfo(entry.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                                        &sid, nullptr, nullptr, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return error;
  owner = {AccountName(sid), SidText(sid), IsYou(sid), IsTrustedOwner(sid), true};
  ::LocalFree(descriptor);
  return 0;
}

SystemError Folder::ReadLink(const fs::path& name, fs::path& text) const {
  std::error_code error;
  text = fs::read_symlink(Show(name), error);
  return error ? static_cast<SystemError>(ERROR_NOT_A_REPARSE_POINT) : 0;
}

// A journal is opened without sharing: the lock is the open handle. A journal that its
// holder is removing gives "access denied" for a moment, which is waited out.
SystemError Folder::Open(const fs::path& name, OpenAs as, HeldFile& file) const {
  const DWORD access = as == OpenAs::kRead    ? GENERIC_READ
                       : as == OpenAs::kWrite ? GENERIC_WRITE
                                              : GENERIC_READ | GENERIC_WRITE | DELETE;
  const DWORD share = as == OpenAs::kRead ? kShareAll : as == OpenAs::kWrite ? FILE_SHARE_READ : 0;
  const DWORD disposition = as == OpenAs::kJournal ? OPEN_ALWAYS : OPEN_EXISTING;
  const DWORD flags = as == OpenAs::kJournal ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
  for (int tries = 0;; ++tries) {
    const HANDLE opened = OpenEntry(Show(name), access, share, disposition, flags);
    if (opened != INVALID_HANDLE_VALUE) {
      file = {};
      file.handle_ = reinterpret_cast<std::intptr_t>(opened);
      return 0;
    }
    const SystemError error = ::GetLastError();
    if (as != OpenAs::kJournal || error != ERROR_ACCESS_DENIED || tries >= 50) return error;
    ::Sleep(20);
  }
}

SystemError Folder::Create(const fs::path& name, const fs::path& like, HeldFile& file) const {
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (!like.empty()) {
    const DWORD old = ::GetFileAttributesW(Long(Show(like)).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes)) {
      attributes = old & kKeptAttributes;
    }
  }
  const HANDLE created = OpenEntry(Show(name), GENERIC_WRITE, 0, CREATE_NEW, attributes);
  if (created == INVALID_HANDLE_VALUE) return ::GetLastError();
  file = {};
  file.handle_ = reinterpret_cast<std::intptr_t>(created);
  return 0;
}

// Opening the target as a replacement will, for writing and deleting, finds a program that
// holds it open without letting others change it before anything is made.
std::string Folder::ReplaceProblem(const fs::path& name) const {
  const DWORD attributes = ::GetFileAttributesW(Long(Show(name)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "cannot be read: " + ReasonOf(::GetLastError());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return "cannot be replaced: " + ReasonOf(kErrorIsFolder);
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    return "cannot be written: " + ReasonOf(ERROR_FILE_READ_ONLY);
  }
  Handle file(OpenEntry(Show(name), GENERIC_WRITE | DELETE, kShareAll, OPEN_EXISTING));
  if (!file.valid()) {
    const SystemError error = ::GetLastError();
    return (error == ERROR_SHARING_VIOLATION ? "cannot be replaced: " : "cannot be written: ") +
           ReasonOf(error);
  }
  if (!FactsOf(file.get()).regular) return "is not a regular file, so it is not replaced";
  return "";
}

SystemError Folder::Link(const fs::path& existing, const fs::path& link) const {
  return ::CreateHardLinkW(Long(Show(link)).c_str(), Long(Show(existing)).c_str(), nullptr)
             ? 0
             : ::GetLastError();
}

SystemError Folder::Rename(const fs::path& from, const fs::path& to) const {
  return ::MoveFileExW(Long(Show(from)).c_str(), Long(Show(to)).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : ::GetLastError();
}

// ReplaceFileW is Windows' own way to replace a file: the new one takes over the old one's
// ACL, attributes, named streams and creation time.
SystemError Folder::Place(const fs::path& from, const fs::path& to) const {
  if (::GetFileAttributesW(Long(Show(to)).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return Rename(from, to);
  }
  return ::ReplaceFileW(Long(Show(to)).c_str(), Long(Show(from)).c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr)
             ? 0
             : ::GetLastError();
}

SystemError Folder::Remove(const fs::path& name) const {
  return ::DeleteFileW(Long(Show(name)).c_str()) ? 0 : ::GetLastError();
}

// Another process cannot open it meanwhile: it is removed through the handle that holds it.
SystemError Folder::RemoveHeld(const fs::path&, HeldFile& file) const {
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!::SetFileInformationByHandle(Raw(file.handle_), FileDispositionInfo, &disposition,
                                    sizeof disposition)) {
    return ::GetLastError();
  }
  return file.Close();
}

SystemError Folder::List(std::vector<fs::path>& names) const {
  WIN32_FIND_DATAW data;
  const HANDLE search = ::FindFirstFileW((Long(path_) + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError();
  do names.emplace_back(data.cFileName);
  while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return 0;
}

// MOVEFILE_WRITE_THROUGH has made each rename durable already.
SystemError Folder::Sync() const { return 0; }
}  // namespace kelvane
