#ifndef KELVANE_REPLACE_FILE_STEPS_H_
#define KELVANE_REPLACE_FILE_STEPS_H_

#include <filesystem>

#include "platform/files.h"
#include "platform/folder.h"
#include "replace/journal.h"
#include "replace/replace_files.h"

namespace kelvane {

// The steps a replacement is made of, on one target: its folder, the name there it leads
// to, the tags of its temporaries, and the name it was given, after which they are named.
// None throws: each returns the system's error code, 0 for success.

struct Target {
  const Folder& folder;
  const std::filesystem::path& name;
  const JournalEntry& temps;
  const std::filesystem::path& named;

  std::filesystem::path Fresh() const { return TemporaryName(named, temps.fresh); }
  std::filesystem::path Kept() const { return TemporaryName(named, temps.kept); }
};

// Keeps the old version of the target under its kept name: a second hard link where the
// file system has them and the target is not written in place, a durable copy otherwise.
[[nodiscard]] SystemError KeepOld(const Target& target);

// Puts the new content at the target's name: renames the new temporary over it, or writes
// `content` into it where it is written in place. `touched` tells whether the target may
// have changed, even when that failed.
[[nodiscard]] SystemError Place(const Target& target, const ContentSource& content, bool& touched);

// What a recovery found at a target's names when it checked them.
struct CheckedFiles {
  FileFacts target, fresh, part, kept;
};

// Puts the target back as it was before the replacement began, from its kept version, and
// removes every temporary of it. `touched` false says that the target itself was never
// changed (only its temporaries are removed); a run that died cannot know, and puts back
// whatever was kept. With `checked`, a recovery's, a name is acted on only where the check
// found a file there and, just before, it is still that file: a name found absent stays so
// (one that appears later is left alone), and a file swapped meanwhile is kChangedMeanwhile.
// Safe to repeat; returns the first failure.
[[nodiscard]] SystemError RollBack(const Target& target, bool touched = true,
                                   const CheckedFiles* checked = nullptr);

}  // namespace kelvane

#endif  // KELVANE_REPLACE_FILE_STEPS_H_
