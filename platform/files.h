#ifndef KELVANE_PLATFORM_FILES_H_
#define KELVANE_PLATFORM_FILES_H_

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// What the program needs of the operating system's files, with one implementation per
// platform (platform_posix.cpp, platform_windows.cpp). Paths are the platform's own (bytes
// on POSIX, UTF-16 on Windows), so any name the file system allows works. Every failure
// throws RunError(kFile) with a message of the shape "<path>: <problem>: <the system's
// reason>".

// The folder that holds the running program's executable, symbolic links resolved.
// Throws when it cannot be found; never falls back to the working directory.
std::filesystem::path ProgramDir();

// True when an entry exists at `path`: a file, a folder, or a symbolic link (even one that
// leads nowhere). Never throws.
bool FileExists(const std::filesystem::path& path);

// True when `path` is a folder, or a symbolic link that leads to one. Never throws.
bool IsFolder(const std::filesystem::path& path);

// The bytes of a whole file, in memory that was not cleared before they were read into it.
// Reading another file into the same FileBytes reuses its memory where that is large
// enough, so that a run reading several files touches fresh pages for the first alone.
class FileBytes {
 public:
  std::string_view view() const { return {data_.get(), size_}; }

  // Memory for `size` bytes to be read into, holding whatever it held; the view is empty
  // until SetSize says how many bytes were read.
  char* Prepare(std::size_t size) {
    if (size > capacity_) data_ = std::make_unique_for_overwrite<char[]>(capacity_ = size);
    size_ = 0;
    return data_.get();
  }
  void SetSize(std::size_t size) { size_ = size; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

// Reads the whole content of the regular file at `path` into `bytes`, without blocking on
// it. Throws when it cannot be opened or read, or is not a regular file; when it holds more
// than `max_bytes`, throws "<path>: is <size> bytes, <too_large>".
void ReadWholeFile(const std::filesystem::path& path, std::size_t max_bytes,
                   std::string_view too_large, FileBytes& bytes);

// Takes the next piece of a file's content.
using ContentSink = std::function<void(std::string_view piece)>;
// Hands a file's whole content to the sink, piece by piece in order, so that a content
// need never be whole in memory. It may be called more than once and must give the same
// content each time.
using ContentSource = std::function<void(const ContentSink& sink)>;

// Hands the contents of several files to their sinks, one sink a file in order, together,
// so that what the files share need be made once.
using JointContentSource = std::function<void(std::span<const ContentSink> sinks)>;

// A file to replace and its new content.
struct FileReplacement {
  std::filesystem::path path;
  ContentSource content;
};

// Replaces every file of `files` with its content, durably and all or none, under a journal
// beside the first file (".<name>.journal") whose lock lets one replacement of these files
// run at a time. The journal first names every temporary the replacement will make; each
// content is then written to a new temporary beside its target and flushed to disk; each
// target is then replaced in turn (renamed over, or written in place when it has other
// hard links, so that every name sees the new content), its old version kept under a
// temporary name (a hard link, or a durable copy) until all are in place, so that there is
// always a file at each target's name. When a target cannot be placed, those already
// placed get their old versions back and the error names the target at fault; if that
// fails too, the error says which file holds the old contents and the journal stays for
// the next run. A run whose process dies is undone by the next (RecoverFiles).
// Refused before anything changes, with the reason: a target that is not a regular file
// (after following symbolic links), one the process may not write or replace, one open in
// another program that does not let others change it (Windows), two names of one file.
// A replaced file keeps what the user set up on it as far as the file system and the
// process's rights allow: owner and group (each alone when the other cannot be kept),
// permissions, extended attributes and ACLs; on Windows its attributes, ACL and streams.
// A symbolic link is followed and stays, even one whose file is not there yet.
// `joint`, when given, must give every file the same content as its own source: the new
// files are then written together from it, and a file's own source serves only where that
// file is written alone.
void ReplaceFiles(std::span<const FileReplacement> files, const JointContentSource& joint = {});

// Does for `paths` what ReplaceFiles does first: waits until no other replacement of them
// runs, puts back what one whose process died left half done, and removes the temporaries
// beside them that no replacement needs. Throws as ReplaceFiles does.
void RecoverFiles(std::span<const std::filesystem::path> paths);

// `path` as text for a message: its bytes on POSIX, UTF-8 on Windows.
std::string DisplayPath(const std::filesystem::path& path);

#endif  // KELVANE_PLATFORM_FILES_H_
