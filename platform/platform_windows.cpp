// The platform layer on Windows: wide (W) functions throughout, so that any folder name
// works.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/file_operations.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/utf16.h"

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

void ReadWholeFile(const fs::path& path, std::size_t max_bytes, std::string_view too_large,
                   FileBytes& bytes) {
  const DWORD attributes = ::GetFileAttributesW(Long(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    RefuseFile(path, "is not a regular file");
  }
  Handle file(::CreateFileW(Long(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) FailFile(path, "cannot be opened", ::GetLastError());
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) RefuseFile(path, "is not a regular file");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) FailFile(path, "cannot be read", ::GetLastError());
  CheckFileSize(path, static_cast<unsigned long long>(size.QuadPart), max_bytes, too_large);
  const auto total = static_cast<std::size_t>(size.QuadPart);
  char* const content = bytes.Prepare(total);
  std::size_t got = 0;
  while (got < total) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), content + got, static_cast<DWORD>(total - got), &read, nullptr)) {
      FailFile(path, "cannot be read", ::GetLastError());
    }
    if (read == 0) break;
    got += read;
  }
  bytes.SetSize(got);
}

std::string DisplayPath(const fs::path& path) { return Utf8(path.native()); }

// A closed pipe only makes a write fail on Windows.
void IgnoreClosedPipes() {}

void WriteStandardError(std::string_view text) {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  [[maybe_unused]] const SystemError ignored = WriteAll(error, text);
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

bool IsAlreadyExists(SystemError error) {
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool IsNotFound(SystemError error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

namespace {

FileFacts FactsOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return {true, 0, 0, 1};
  return {true, info.dwVolumeSerialNumber,
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, info.nNumberOfLinks};
}

}  // namespace

SystemError StatFile(const fs::path& path, FileFacts& facts) {
  facts = {};
  Handle file(::CreateFileW(Long(path).c_str(), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return IsNotFound(::GetLastError()) ? 0 : ::GetLastError();
  facts = FactsOf(file.get());
  return 0;
}

// Opening the target as a replacement will, for writing and deleting, finds a program that
// holds it open without letting others change it before anything is made.
std::string CheckReplaceable(const fs::path& target, FileFacts& facts) {
  facts = {};
  const DWORD attributes = ::GetFileAttributesW(Long(target).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "";
  facts.exists = true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return "cannot be replaced: " + ReasonOf(kErrorIsFolder);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return "cannot be written: " + ReasonOf(ERROR_FILE_READ_ONLY);
  Handle file(::CreateFileW(Long(target).c_str(), GENERIC_WRITE | DELETE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const SystemError error = ::GetLastError();
    return (error == ERROR_SHARING_VIOLATION ? "cannot be replaced: " : "cannot be written: ") +
           ReasonOf(error);
  }
  if (::GetFileType(file.get()) != FILE_TYPE_DISK)
    return "is not a regular file, so it is not replaced";
  facts = FactsOf(file.get());
  return "";
}

NewFile::~NewFile() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

SystemError NewFile::Create(const fs::path& path, const fs::path& like, bool like_exists) {
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (like_exists) {
    const DWORD old = ::GetFileAttributesW(Long(like).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes))
      attributes = old & kKeptAttributes;
  }
  const HANDLE file =
      ::CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return 0;
}

SystemError NewFile::Write(std::string_view piece) {
  return WriteAll(reinterpret_cast<HANDLE>(handle_), piece);
}

SystemError NewFile::Finish() {
  const auto file = reinterpret_cast<HANDLE>(std::exchange(handle_, -1));
  const SystemError error = ::FlushFileBuffers(file) ? 0 : ::GetLastError();
  return ::CloseHandle(file) || error ? error : ::GetLastError();
}

SystemError WriteInPlace(const fs::path& path, const ContentSource& content) {
  Handle file(::CreateFileW(Long(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return ::GetLastError();
  const auto write = [&file](std::string_view piece) { return WriteAll(file.get(), piece); };
  if (const SystemError error = WriteEach(content, write)) return error;
  if (!::SetEndOfFile(file.get()) || !::FlushFileBuffers(file.get())) return ::GetLastError();
  return file.Close();
}

SystemError ReadFileInto(const fs::path& path, std::string& content) {
  Handle file(::CreateFileW(Long(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return ::GetLastError();
  content.clear();
  char buffer[1 << 16];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return ::GetLastError();
    if (read == 0) return 0;
    content.append(buffer, read);
  }
}

SystemError LinkFile(const fs::path& existing, const fs::path& link) {
  return ::CreateHardLinkW(Long(link).c_str(), Long(existing).c_str(), nullptr) ? 0
                                                                                : ::GetLastError();
}

// ReplaceFileW is Windows' own way to replace a file: the new one takes over the old one's
// ACL, attributes, named streams and creation time.
SystemError PlaceFile(const fs::path& from, const fs::path& to) {
  if (::GetFileAttributesW(Long(to).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return MoveFileOver(from, to);
  }
  return ::ReplaceFileW(Long(to).c_str(), Long(from).c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr)
             ? 0
             : ::GetLastError();
}

SystemError MoveFileOver(const fs::path& from, const fs::path& to) {
  return ::MoveFileExW(Long(from).c_str(), Long(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : ::GetLastError();
}

SystemError RemoveFile(const fs::path& path) {
  return ::DeleteFileW(Long(path).c_str()) ? 0 : ::GetLastError();
}

SystemError ListFolder(const fs::path& folder, std::vector<fs::path>& names) {
  WIN32_FIND_DATAW data;
  const HANDLE search = ::FindFirstFileW((Long(folder) + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError();
  do names.emplace_back(data.cFileName);
  while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return 0;
}

// MOVEFILE_WRITE_THROUGH has made each rename durable already.
SystemError SyncFolder(const fs::path&) { return 0; }

LockedFile::~LockedFile() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

// Opened without sharing, the file is locked for as long as it is open. Another holder
// makes the open fail with a sharing violation, and a file its holder is removing with
// "access denied" for a moment: both are waited out, the second only briefly.
SystemError LockedFile::Open(const fs::path& path) {
  path_ = path;
  for (int tries = 0;; ++tries) {
    const HANDLE file = ::CreateFileW(Long(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(file);
      return 0;
    }
    const SystemError error = ::GetLastError();
    const bool busy =
        error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && tries < 50);
    if (!busy || tries >= 3000) return error;
    ::Sleep(20);
  }
}

SystemError LockedFile::Read(std::string& content) {
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (!::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN)) return ::GetLastError();
  content.clear();
  char buffer[4096];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return ::GetLastError();
    if (read == 0) return 0;
    content.append(buffer, read);
  }
}

SystemError LockedFile::Rewrite(std::string_view content) {
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (!::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN)) return ::GetLastError();
  if (const SystemError error = WriteAll(file, content)) return error;
  if (!::SetEndOfFile(file) || !::FlushFileBuffers(file)) return ::GetLastError();
  return 0;
}

SystemError LockedFile::Remove() {
  FILE_DISPOSITION_INFO disposition{TRUE};
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (!::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
    return ::GetLastError();
  }
  ::CloseHandle(file);
  handle_ = -1;
  return 0;
}
