#ifndef KELVANE_PLATFORM_REPLACE_JOURNAL_H_
#define KELVANE_PLATFORM_REPLACE_JOURNAL_H_

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_error.h"

// The journal of a replacement: before ReplaceFiles creates or changes any file it writes
// down every target and every temporary it will make, so that a run that dies halfway can
// be undone by the next one.

// One target of a replacement.
struct JournalEntry {
  std::filesystem::path target;
  std::filesystem::path fresh;  // the new content until it is placed; none when in place
  std::filesystem::path kept;   // the old version while it is kept; none when there was none
  bool existed = false;
  bool in_place = false;  // the new content is written into the target, for its other names
};

// Where the copy of an old version is made before it is renamed to `kept`.
std::filesystem::path PartOf(const std::filesystem::path& kept);

std::string FormatJournal(std::span<const JournalEntry> entries);

// The entries of a journal's text; a line that was not written whole is left out.
std::vector<JournalEntry> ParseJournal(std::string_view text);

// Puts the target of `entry` back as it was before the replacement began, from its kept
// version, and removes every temporary of it. `touched` false says that the target itself
// was never changed (only its temporaries are removed); a run that died cannot know, and
// puts back whatever it kept. Safe to repeat. Returns the first failure.
[[nodiscard]] SystemError RollBack(const JournalEntry& entry, bool touched = true);

#endif  // KELVANE_PLATFORM_REPLACE_JOURNAL_H_
