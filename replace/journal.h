#ifndef KELVANE_REPLACE_JOURNAL_H_
#define KELVANE_REPLACE_JOURNAL_H_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder.h"
#include "replace/replace_files.h"

namespace kelvane {

// The largest journal there can be: a header and one short line a target.
inline constexpr std::size_t kMaxJournalBytes = 4096;

// The temporaries of one target, by tag: "new-XXXXXXXX" and "old-XXXXXXXX".
struct JournalEntry {
  std::string fresh;  // the new content until it is placed; "" when written in place
  std::string kept;   // the old version while it is kept; "" when there was none
};

// A tag of `kind` ("new" or "old") that is likely new: "<kind>-" and 8 of a-z0-9.
std::string NewTag(std::string_view kind);
// ".<target>.<tag>": the temporary of that tag beside `target`.
std::filesystem::path TemporaryName(const std::filesystem::path& target, std::string_view tag);
// Where the copy of an old version is made before it takes the kept name.
std::filesystem::path PartName(const std::filesystem::path& kept);
// Whether `name` is a temporary of `target` (TemporaryName or its PartName) of either kind.
bool IsTemporaryName(const std::filesystem::path& target, const std::filesystem::path& name);
// ".<name>.journal": the journal of replacements whose first target is named `first`.
std::filesystem::path JournalName(const std::filesystem::path& first);
// Whether `name` is one a replacement of `targets` makes and removes: their journal, or a
// temporary of one of them.
bool IsRunName(std::span<const std::filesystem::path> targets, const std::filesystem::path& name);

std::string FormatJournal(std::span<const JournalEntry> entries);
// The entries of a journal of `count` targets, or nothing when `text` is not one. An empty
// text is a journal that a run which died never wrote to: no entries.
std::optional<std::vector<JournalEntry>> ParseJournal(std::string_view text, std::size_t count);

// The journal of a replacement, held open and locked for as long as this object lives.
class Journal {
 public:
  // Opens and locks the journal `name` in `folder`, made where there is none. While another
  // process holds it, tells `wait.notice` so at once and tries again for `wait.limit`.
  // Throws, naming the journal (and its owner where it is another's, and who may remove it
  // where this user may not): when it is still held (ErrorKind::kBusy), when it cannot be
  // opened, or when it is not a regular file of one name and at most kMaxJournalBytes.
  Journal(const Folder& folder, std::filesystem::path name, const LockWait& wait);

  // The entries it holds for `count` targets. Throws "<path>: is not a journal of Kelvane
  // for these pass lines (owned by <user>); nothing was changed. Remove it to go on." when
  // it holds anything else.
  std::vector<JournalEntry> Read(std::size_t count);
  // Makes `entries` its whole content and flushes it to disk.
  [[nodiscard]] SystemError Write(std::span<const JournalEntry> entries);
  // Removes it durably and lets go of its lock.
  [[nodiscard]] SystemError Remove();

  // Who wrote it. Throws when that cannot be learnt.
  Owner GetOwner() const;
  // Throws "<path>: <problem> (owned by <user>); nothing was changed.", then who may remove
  // it: "Remove it to go on." or, where this user may not, "Only <user>, or the folder's
  // owner, can remove it."
  [[noreturn]] void Refuse(std::string_view problem) const;

  std::filesystem::path Shown() const { return folder_.Show(name_); }

 private:
  const Folder& folder_;
  std::filesystem::path name_;
  HeldFile file_;
};

}  // namespace kelvane

#endif  // KELVANE_REPLACE_JOURNAL_H_
