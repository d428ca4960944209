// ReplaceFiles, the same on every platform, on top of the file operations and the journal.

#include <random>
#include <string>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/file_operations.h"
#include "platform/files.h"
#include "platform/replace_journal.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNameChars = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomChars = 8;

// A hidden name beside `target` that is likely new: ".<target name>.<tag>-<random>".
fs::path SiblingName(const fs::path& target, std::string_view tag) {
  static std::mt19937 random{std::random_device{}()};
  std::string suffix = ".";
  suffix.append(tag).append(1, '-');
  for (std::size_t i = 0; i < kRandomChars; ++i) suffix += kNameChars[random() % kNameChars.size()];
  fs::path name(".");
  name += target.filename();
  name += suffix;
  return FolderOf(target) / name;
}

// Whether `name` is one that SiblingName gives for `target`, or the copy made beside one.
bool IsSiblingName(const fs::path& target, const fs::path& name) {
  fs::path prefix(".");
  prefix += target.filename();
  prefix += ".";
  const std::string text = name.string(), start = prefix.string();
  if (!text.starts_with(start)) return false;
  std::string_view rest = std::string_view(text).substr(start.size());
  if (rest.ends_with(".part")) rest.remove_suffix(5);
  for (const std::string_view tag : {"new-", "old-"}) {
    if (rest.starts_with(tag) && rest.size() == tag.size() + kRandomChars &&
        rest.find_first_not_of(kNameChars, tag.size()) == std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// The file a symbolic link leads to, even one that is not there yet, so that the file is
// replaced or made and the link stays.
fs::path Followed(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    const fs::path next = fs::read_symlink(path, error);
    if (error) return path;
    path = next.is_absolute() ? next : FolderOf(path) / next;
  }
  return path;
}

// Each target with what it is, refused before anything is made when it cannot be replaced
// safely; two names of one file are refused too, since the second would undo the first.
std::vector<FileFacts> CheckTargets(const std::vector<JournalEntry>& entries) {
  std::vector<FileFacts> facts(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string problem = CheckReplaceable(entries[i].target, facts[i]);
    if (!problem.empty()) RefuseFile(entries[i].target, problem);
    for (std::size_t j = 0; j < i; ++j) {
      if (facts[i].exists && facts[j].exists && facts[i].volume == facts[j].volume &&
          facts[i].file == facts[j].file) {
        RefuseFile(entries[i].target, "is the same file as " + DisplayPath(entries[j].target) +
                                          "; each must be a file of its own");
      }
    }
  }
  return facts;
}

// Undoes what a run that died left half done, as its journal says, then removes the
// temporaries of ours beside the targets that no journal names any more.
void Recover(LockedFile& journal, const fs::path& journal_path,
             const std::vector<JournalEntry>& targets) {
  std::string text;
  if (const SystemError error = journal.Read(text)) FailFile(journal_path, "cannot be read", error);
  for (const JournalEntry& entry : ParseJournal(text)) {
    if (const SystemError error = RollBack(entry)) {
      FailFile(entry.target, "cannot be put back as it was before an earlier run stopped", error);
    }
  }
  for (const JournalEntry& target : targets) {
    std::vector<fs::path> names;
    if (ListFolder(FolderOf(target.target), names)) continue;
    for (const fs::path& name : names) {
      if (IsSiblingName(target.target, name)) {
        [[maybe_unused]] const SystemError ignored = RemoveFile(FolderOf(target.target) / name);
      }
    }
  }
}

[[noreturn]] void FailToCreate(const fs::path& target, SystemError error) {
  throw RunError(ErrorKind::kFile, "cannot create a file in " + DisplayPath(FolderOf(target)) +
                                       ": " + ReasonOf(error));
}

// Writes the new content of every target not written in place to its fresh temporary:
// from `joint`, all together, where it is given; from each file's own source otherwise.
void WriteFreshFiles(const std::vector<JournalEntry>& entries,
                     std::span<const FileReplacement> files, const JointContentSource& joint) {
  if (!joint) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].in_place) continue;
      bool created = false;
      const SystemError error = WriteNewFile(entries[i].fresh, files[i].content, entries[i].target,
                                             entries[i].existed, created);
      if (error && !created) FailToCreate(entries[i].target, error);
      if (error) FailFile(entries[i].target, "cannot be written", error);
    }
    return;
  }
  std::vector<NewFile> fresh(entries.size());
  std::vector<SystemError> errors(entries.size());
  std::vector<ContentSink> sinks(entries.size(), [](std::string_view) {});
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].in_place) continue;
    const JournalEntry& entry = entries[i];
    if (const SystemError error = fresh[i].Create(entry.fresh, entry.target, entry.existed)) {
      FailToCreate(entry.target, error);
    }
    sinks[i] = [&fresh, &errors, i](std::string_view piece) {
      if (!errors[i]) errors[i] = fresh[i].Write(piece);
    };
  }
  joint(sinks);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].in_place) continue;
    if (!errors[i]) errors[i] = fresh[i].Finish();
    if (errors[i]) FailFile(entries[i].target, "cannot be written", errors[i]);
  }
}

// Keeps the old version of `entry.target` under `entry.kept`: a second hard link where the
// file system has them, a durable copy otherwise. Either way the target keeps its name.
SystemError KeepOld(const JournalEntry& entry) {
  if (!entry.in_place && !LinkFile(entry.target, entry.kept)) return 0;
  std::string old;
  if (const SystemError error = ReadFileInto(entry.target, old)) return error;
  bool created = false;
  const fs::path part = PartOf(entry.kept);
  const ContentSource copy = [&old](const ContentSink& sink) { sink(old); };
  if (const SystemError error = WriteNewFile(part, copy, entry.target, true, created)) return error;
  return MoveFileOver(part, entry.kept);
}

// Puts the new content at the target's place; `touched` tells whether the target may have
// changed, even when that failed.
SystemError Place(const JournalEntry& entry, const ContentSource& content, bool& touched) {
  if (entry.existed) {
    if (const SystemError error = KeepOld(entry)) return error;
  }
  touched = entry.in_place;
  if (entry.in_place) return WriteInPlace(entry.target, content);
  const SystemError error = PlaceFile(entry.fresh, entry.target);
  touched = !error || !FileExists(entry.target);
  return error;
}

[[noreturn]] void FailAndRollBack(LockedFile& journal, const std::vector<JournalEntry>& entries,
                                  const std::vector<bool>& touched, std::size_t failed,
                                  SystemError error) {
  std::string message =
      DisplayPath(entries[failed].target) + ": cannot be replaced: " + ReasonOf(error);
  bool whole = true;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const JournalEntry& entry = entries[i];
    if (const SystemError rollback_error = RollBack(entry, touched[i])) {
      whole = false;
      message += "; " + DisplayPath(entry.target) + " could not be put back (" +
                 ReasonOf(rollback_error) + ") and its old contents are in " +
                 DisplayPath(entry.kept) + "; the next run puts it back";
    }
  }
  // A journal whose rollback failed stays for the next run to finish.
  if (whole) [[maybe_unused]]
    const SystemError ignored = journal.Remove();
  throw RunError(ErrorKind::kFile, message);
}

// The journal of replacements whose first file is `first`: ".<name>.journal" beside it.
fs::path JournalPath(const fs::path& first) {
  fs::path name(".");
  name += first.filename();
  name += ".journal";
  return FolderOf(first) / name;
}

void OpenJournal(LockedFile& journal, const fs::path& path) {
  if (const SystemError error = journal.Open(path)) {
    throw RunError(ErrorKind::kFile, "cannot create a file in " + DisplayPath(FolderOf(path)) +
                                         ": " + ReasonOf(error));
  }
}

}  // namespace

void RecoverFiles(std::span<const fs::path> paths) {
  if (paths.empty()) return;
  std::vector<JournalEntry> entries(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) entries[i].target = Followed(paths[i]);
  const fs::path journal_path = JournalPath(paths[0]);
  LockedFile journal;
  OpenJournal(journal, journal_path);
  Recover(journal, journal_path, entries);
  if (const SystemError error = journal.Remove())
    FailFile(journal_path, "cannot be removed", error);
}

void ReplaceFiles(std::span<const FileReplacement> files, const JointContentSource& joint) {
  if (files.empty()) return;
  std::vector<JournalEntry> entries(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) entries[i].target = Followed(files[i].path);

  // One journal beside the first file named: its lock lets one replacement at a time work
  // on these files, and what it records lets the next one undo a run that died.
  const fs::path journal_path = JournalPath(files[0].path);
  LockedFile journal;
  OpenJournal(journal, journal_path);
  Recover(journal, journal_path, entries);
  std::vector<FileFacts> facts;
  try {
    facts = CheckTargets(entries);
  } catch (const RunError&) {
    [[maybe_unused]] const SystemError ignored = journal.Remove();
    throw;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    JournalEntry& entry = entries[i];
    entry.existed = facts[i].exists;
    entry.in_place = facts[i].links > 1;
    if (!entry.in_place) entry.fresh = SiblingName(entry.target, "new");
    if (entry.existed) entry.kept = SiblingName(entry.target, "old");
  }
  if (const SystemError error = journal.Rewrite(FormatJournal(entries))) {
    FailFile(journal_path, "cannot be written", error);
  }
  if (const SystemError error = SyncFolder(FolderOf(journal_path))) {
    FailFile(FolderOf(journal_path), "cannot be flushed to disk", error);
  }
  try {
    WriteFreshFiles(entries, files, joint);
  } catch (const RunError&) {
    for (const JournalEntry& entry : entries) {
      [[maybe_unused]] const SystemError ignored = RollBack(entry, false);
    }
    [[maybe_unused]] const SystemError ignored = journal.Remove();
    throw;
  }
  std::vector<bool> touched(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    bool changed = false;
    const SystemError error = Place(entries[i], files[i].content, changed);
    touched[i] = changed;
    if (error) FailAndRollBack(journal, entries, touched, i, error);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const fs::path folder = FolderOf(entries[i].target);
    if (i > 0 && folder == FolderOf(entries[i - 1].target)) continue;
    if (const SystemError error = SyncFolder(folder)) {
      FailAndRollBack(journal, entries, touched, i, error);
    }
  }
  // The replacement is done once its journal is gone; a kept version left by a death after
  // this is a temporary that no journal names, and the next run removes it.
  if (const SystemError error = journal.Remove()) {
    FailAndRollBack(journal, entries, touched, 0, error);
  }
  for (const JournalEntry& entry : entries) {
    if (!entry.kept.empty()) [[maybe_unused]]
      const SystemError ignored = RemoveFile(entry.kept);
  }
}
