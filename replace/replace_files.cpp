#include "replace/replace_files.h"

#include <string>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "replace/file_steps.h"
#include "replace/journal.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

// One target of this run: where it is, what is there, and its temporaries.
struct Placed {
  PlacedFile file;
  FileFacts facts;
  JournalEntry temps;

  Target step() const { return {file.folder, file.name, temps}; }
};

std::vector<Placed> FollowAll(std::span<const fs::path> paths) {
  std::vector<Placed> targets;
  for (const fs::path& path : paths) targets.push_back({FollowTrustedLinks(path), {}, {}});
  return targets;
}

// The journal beside the first file as named, locked.
Journal LockJournal(const fs::path& first, const LockWait& wait) {
  return Journal(OpenFolder(first.parent_path()), JournalName(first.filename()), wait);
}

// Undoes what a run that died left half done, as its journal says, then removes the
// temporaries that no journal names any more from the journal's own folder.
void Recover(Journal& journal, const std::vector<Placed>& targets) {
  const std::vector<JournalEntry> entries = journal.Read(targets.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Target target{targets[i].file.folder, targets[i].file.name, entries[i]};
    if (const SystemError error = RollBack(target)) {
      FailFile(targets[i].file.Shown(),
               "cannot be put back as it was before an earlier run stopped", error);
    }
  }
  FileFacts home;
  if (journal.folder().Facts(home)) return;
  for (const Placed& target : targets) {
    FileFacts here;
    std::vector<fs::path> names;
    if (target.file.folder.Facts(here) || !SameFile(home, here)) continue;
    if (target.file.folder.List(names)) continue;
    for (const fs::path& name : names) {
      if (IsTemporaryName(target.file.name, name)) {
        [[maybe_unused]] const SystemError ignored = target.file.folder.Remove(name);
      }
    }
  }
}

// Takes what is at each target, refusing before anything is made what cannot be replaced
// safely; two names of one file are refused too, since the second would undo the first.
void CheckTargets(std::vector<Placed>& targets) {
  for (std::size_t i = 0; i < targets.size(); ++i) {
    Placed& target = targets[i];
    if (const SystemError error = target.file.folder.Stat(target.file.name, target.facts)) {
      FailFile(target.file.Shown(), "cannot be read", error);
    }
    if (!target.facts.exists) continue;
    const std::string problem = target.file.folder.ReplaceProblem(target.file.name);
    if (!problem.empty()) RefuseFile(target.file.Shown(), problem);
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(target.facts, targets[j].facts)) {
        RefuseFile(target.file.Shown(), "is the same file as " +
                                            DisplayPath(targets[j].file.Shown()) +
                                            "; each must be a file of its own");
      }
    }
  }
}

[[noreturn]] void FailToCreate(const Placed& target, SystemError error) {
  throw RunError(
      ErrorKind::kFile,
      "cannot create a file in " + DisplayPath(target.file.folder.path()) + ": " + ReasonOf(error));
}

fs::path LikeOf(const Placed& target) {
  return target.facts.exists ? target.file.name : fs::path();
}

// Writes the new content of every target not written in place to its new temporary, all
// together from `joint`, or from each file's own source where there is no joint one.
void WriteFreshFiles(const std::vector<Placed>& targets, std::span<const FileReplacement> files,
                     const JointContentSource& joint) {
  std::vector<HeldFile> fresh(targets.size());
  std::vector<SystemError> errors(targets.size());
  std::vector<ContentSink> sinks(targets.size(), [](std::string_view) {});
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (targets[i].temps.fresh.empty()) continue;
    const Placed& target = targets[i];
    if (const SystemError error =
            target.file.folder.Create(target.step().Fresh(), LikeOf(target), fresh[i])) {
      FailToCreate(target, error);
    }
    sinks[i] = [&fresh, &errors, i](std::string_view piece) {
      if (!errors[i]) errors[i] = fresh[i].Write(piece);
    };
  }
  if (joint) {
    joint(sinks);
  } else {
    for (std::size_t i = 0; i < files.size(); ++i) files[i].content(sinks[i]);
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (targets[i].temps.fresh.empty()) continue;
    if (!errors[i]) errors[i] = fresh[i].Flush();
    const SystemError closed = fresh[i].Close();
    if (!errors[i]) errors[i] = closed;
    if (errors[i]) FailFile(targets[i].file.Shown(), "cannot be written", errors[i]);
  }
}

[[noreturn]] void FailAndRollBack(Journal& journal, const std::vector<Placed>& targets,
                                  const std::vector<bool>& touched, std::size_t failed,
                                  SystemError error) {
  std::string message =
      DisplayPath(targets[failed].file.Shown()) + ": cannot be replaced: " + ReasonOf(error);
  bool whole = true;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (const SystemError rollback_error = RollBack(targets[i].step(), touched[i])) {
      whole = false;
      message += "; " + DisplayPath(targets[i].file.Shown()) + " could not be put back (" +
                 ReasonOf(rollback_error) + ") and its old contents are in " +
                 DisplayPath(targets[i].file.folder.Show(targets[i].step().Kept())) +
                 "; the next run puts it back";
    }
  }
  // A journal whose rollback failed stays for the next run to finish.
  if (whole) [[maybe_unused]]
    const SystemError ignored = journal.Remove();
  throw RunError(ErrorKind::kFile, message);
}

std::vector<fs::path> PathsOf(std::span<const FileReplacement> files) {
  std::vector<fs::path> paths;
  for (const FileReplacement& file : files) paths.push_back(file.path);
  return paths;
}

}  // namespace

void RecoverFiles(std::span<const fs::path> paths, const LockWait& wait) {
  if (paths.empty()) return;
  const std::vector<Placed> targets = FollowAll(paths);
  Journal journal = LockJournal(paths[0], wait);
  Recover(journal, targets);
  if (const SystemError error = journal.Remove()) {
    FailFile(journal.Shown(), "cannot be removed", error);
  }
}

void ReplaceFiles(std::span<const FileReplacement> files, const JointContentSource& joint,
                  const LockWait& wait) {
  if (files.empty()) return;
  const std::vector<fs::path> paths = PathsOf(files);
  const std::vector<Placed> before = FollowAll(paths);  // a refusal here leaves no trace
  Journal journal = LockJournal(paths[0], wait);
  Recover(journal, before);
  std::vector<Placed> targets;
  try {
    // Again, now that the recovery may have changed what is at the targets.
    targets = FollowAll(paths);
    CheckTargets(targets);
  } catch (const RunError&) {
    [[maybe_unused]] const SystemError ignored = journal.Remove();
    throw;
  }
  std::vector<JournalEntry> entries;
  for (Placed& target : targets) {
    const bool in_place = target.facts.links > 1;
    target.temps = {in_place ? "" : NewTag("new"), target.facts.exists ? NewTag("old") : ""};
    entries.push_back(target.temps);
  }
  if (const SystemError error = journal.Write(entries)) {
    FailFile(journal.Shown(), "cannot be written", error);
  }
  try {
    WriteFreshFiles(targets, files, joint);
  } catch (const RunError&) {
    for (const Placed& target : targets) {
      [[maybe_unused]] const SystemError ignored = RollBack(target.step(), false);
    }
    [[maybe_unused]] const SystemError ignored = journal.Remove();
    throw;
  }
  std::vector<bool> touched(targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    bool changed = false;
    const SystemError error = Place(targets[i].step(), files[i].content, changed);
    touched[i] = changed;
    if (error) FailAndRollBack(journal, targets, touched, i, error);
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (const SystemError error = targets[i].file.folder.Sync()) {
      FailAndRollBack(journal, targets, touched, i, error);
    }
  }
  // The replacement is done once its journal is gone; a kept version left by a death after
  // this is a temporary that no journal names, and the next run removes it.
  if (const SystemError error = journal.Remove()) {
    FailAndRollBack(journal, targets, touched, 0, error);
  }
  for (const Placed& target : targets) {
    if (!target.temps.kept.empty()) [[maybe_unused]]
      const SystemError ignored = target.file.folder.Remove(target.step().Kept());
  }
}
}  // namespace kelvane
