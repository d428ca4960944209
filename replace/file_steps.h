#ifndef KELVANE_REPLACE_FILE_STEPS_H_
#define KELVANE_REPLACE_FILE_STEPS_H_

#include <filesystem>

#include "platform/files.h"
#include "platform/folder.h"
#include "replace/journal.h"
#include "replace/replace_files.h"

namespace kelvane {

// The steps a replacement is made of, on one target: its folder, its name there, and the
// tags of its temporaries. None throws: each returns the system's error code, 0 for success.

struct Target {
  const Folder& folder;
  const std::filesystem::path& name;
  const JournalEntry& temps;

  std::filesystem::path Fresh() const { return TemporaryName(name, temps.fresh); }
  std::filesystem::path Kept() const { return TemporaryName(name, temps.kept); }
};

// Keeps the old version of the target under its kept name: a second hard link where the
// file system has them and the target is not written in place, a durable copy otherwise.
[[nodiscard]] SystemError KeepOld(const Target& target);

// Puts the new content at the target's name: renames the new temporary over it, or writes
// `content` into it where it is written in place. `touched` tells whether the target may
// have changed, even when that failed.
[[nodiscard]] SystemError Place(const Target& target, const ContentSource& content, bool& touched);

// Puts the target back as it was before the replacement began, from its kept version, and
// removes every temporary of it. `touched` false says that the target itself was never
// changed (only its temporaries are removed); a run that died cannot know, and puts back
// whatever was kept. Safe to repeat; returns the first failure.
[[nodiscard]] SystemError RollBack(const Target& target, bool touched = true);

}  // namespace kelvane

#endif  // KELVANE_REPLACE_FILE_STEPS_H_
