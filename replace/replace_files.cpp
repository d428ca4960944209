#include "replace/replace_files.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "replace/file_steps.h"
#include "replace/journal.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

// One target of this run: the name it was given, the name in the folder it leads to, what
// is there, and its temporaries.
struct Placed {
  fs::path named;
  fs::path name;
  FileFacts facts;
  JournalEntry temps;
};

Target StepOf(const Folder& folder, const Placed& target, const JournalEntry& temps) {
  return {folder, target.name, temps, target.named};
}

// Each target's name after its links, which may lead to none of the names the replacement
// itself uses: another target's, or the journal's or a temporary's, which it removes.
std::vector<Placed> FollowAll(const Folder& folder, std::span<const fs::path> names) {
  std::vector<Placed> targets;
  for (const fs::path& name : names) {
    const fs::path at = FollowLinksInFolder(folder, name);
    if (at != name && (IsRunName(names, at) || std::ranges::find(names, at) != names.end())) {
      RefuseFile(folder.Show(name), "is a symbolic link to " + DisplayPath(at) +
                                        ", a name a run writes itself, so it is not followed");
    }
    targets.push_back({name, at, FactsAt(folder, at), {}});
  }
  return targets;
}

// How many of the names of the file at `target` are in `folder`.
std::uint64_t NamesInFolder(const Folder& folder, const Placed& target) {
  std::vector<fs::path> names;
  if (const SystemError error = folder.List(names)) {
    FailFile(folder.path(), "cannot be listed", error);
  }
  return static_cast<std::uint64_t>(std::ranges::count_if(names, [&](const fs::path& name) {
    FileFacts facts;
    return !folder.Stat(name, facts) && SameFile(facts, target.facts);
  }));
}

// Why the entry of one target may not be acted on, or "": the journal's writer is neither
// the user running this nor the target's owner, or a file the entry would remove, move or
// put back is not a regular file of one name owned by one of those two. What it found at
// each name goes into `checked`, which the recovery then acts on.
std::string EntryProblem(const Folder& folder, const Owner& writer, const Placed& target,
                         const JournalEntry& entry, CheckedFiles& checked) {
  Owner owner;
  if (target.facts.exists && folder.GetOwner(target.name, owner)) owner.id.clear();
  const auto trusted = [&](const Owner& who) {
    return who.id == writer.id || (!owner.id.empty() && who.id == owner.id);
  };
  if (!writer.you && !(target.facts.exists && writer.id == owner.id)) {
    return "it was written by neither you nor the owner of " + DisplayPath(target.name);
  }
  const Target step = StepOf(folder, target, entry);
  checked.target = target.facts;
  const struct {
    fs::path name;
    bool used;
    FileFacts& facts;
  } names[] = {{step.Fresh(), !entry.fresh.empty(), checked.fresh},
               {PartName(step.Kept()), !entry.kept.empty(), checked.part},
               {step.Kept(), !entry.kept.empty(), checked.kept}};
  for (const auto& [name, used, facts] : names) {
    if (!used || !(facts = FactsAt(folder, name)).exists) continue;
    Owner of;
    if (folder.GetOwner(name, of)) of.name = "an unknown user";
    const bool linked_kept = name == step.Kept() && !entry.fresh.empty() &&
                             SameFile(facts, target.facts) && facts.links == 2;
    if (!facts.regular) return DisplayPath(name) + " is not a regular file";
    if (!trusted(of)) return DisplayPath(name) + " is owned by " + of.name;
    if (facts.links != 1 && !linked_kept) return DisplayPath(name) + " has other names";
  }
  return "";
}

// Whether the clean-up may remove the temporary `name` of `target`: a regular file of one
// name, of the user running this or the target's owner, as a run makes them.
bool IsLeftByARun(const Folder& folder, const Placed& target, const fs::path& name) {
  FileFacts facts;
  Owner of, owner;
  if (folder.Stat(name, facts) || !facts.regular || facts.links != 1) return false;
  if (folder.GetOwner(name, of)) return false;
  return of.you ||
         (target.facts.exists && !folder.GetOwner(target.name, owner) && of.id == owner.id);
}

// Undoes what a run that died left half done, as its journal says, once every entry has
// been found safe to act on, and on what was found; then removes the temporaries that no
// journal names any more, but for the names found absent, which stay as they are now.
void Recover(const Folder& folder, Journal& journal, const std::vector<Placed>& targets) {
  const std::vector<JournalEntry> entries = journal.Read(targets.size());
  std::vector<CheckedFiles> checked(entries.size());
  if (!entries.empty()) {
    const Owner writer = journal.GetOwner();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::string problem = EntryProblem(folder, writer, targets[i], entries[i], checked[i]);
      if (!problem.empty()) journal.Refuse("is not safe to act on: " + problem);
    }
  }
  std::vector<fs::path> absent;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Target step = StepOf(folder, targets[i], entries[i]);
    if (const SystemError error = RollBack(step, true, &checked[i])) {
      FailFile(folder.Show(targets[i].name),
               "cannot be put back as it was before an earlier run stopped", error);
    }
    if (!checked[i].fresh.exists) absent.push_back(step.Fresh());
    if (!checked[i].part.exists) absent.push_back(PartName(step.Kept()));
    if (!checked[i].kept.exists) absent.push_back(step.Kept());
  }
  std::vector<fs::path> names;
  if (folder.List(names)) return;
  for (const Placed& target : targets) {
    for (const fs::path& name : names) {
      if (IsTemporaryName(target.named, name) && std::ranges::find(absent, name) == absent.end() &&
          IsLeftByARun(folder, target, name)) {
        Ignore(folder.Remove(name));
      }
    }
  }
}

// Refuses before anything is made what cannot be replaced safely; two names of one file are
// refused too, since the second would undo the first. A file with other names is written in
// place, so that each of them sees the new content: only where all of them are in the folder.
void CheckTargets(const Folder& folder, const std::vector<Placed>& targets) {
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Placed& target = targets[i];
    if (!target.facts.exists) continue;
    const std::string problem = folder.ReplaceProblem(target.name);
    if (!problem.empty()) RefuseFile(folder.Show(target.name), problem);
    if (target.facts.links > 1 && NamesInFolder(folder, target) < target.facts.links) {
      RefuseFile(folder.Show(target.name),
                 "has " + std::to_string(target.facts.links) +
                     " names (hard links), some outside its folder, so it is not written: a "
                     "file with other names is written only where all of them are in its folder");
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(target.facts, targets[j].facts)) {
        RefuseFile(folder.Show(target.name), "is the same file as " +
                                                 DisplayPath(folder.Show(targets[j].name)) +
                                                 "; each must be a file of its own");
      }
    }
  }
}

// Writes the new content of every target not written in place to its new temporary, all
// together from `joint`, or from each file's own source where there is no joint one.
void WriteFreshFiles(const Folder& folder, const std::vector<Placed>& targets,
                     std::span<const FileReplacement> files, const JointContentSource& joint) {
  std::vector<HeldFile> fresh(targets.size());
  std::vector<SystemError> errors(targets.size());
  std::vector<ContentSink> sinks(targets.size(), [](std::string_view) {});
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Placed& target = targets[i];
    if (target.temps.fresh.empty()) continue;
    const fs::path like = target.facts.exists ? target.name : fs::path();
    const Target step = StepOf(folder, target, target.temps);
    if (const SystemError error = folder.Create(step.Fresh(), like, fresh[i])) {
      throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(folder.path())},
                     "cannot create a file: " + ReasonOf(error));
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
    if (errors[i]) FailFile(folder.Show(targets[i].name), "cannot be written", errors[i]);
  }
}

[[noreturn]] void FailAndRollBack(const Folder& folder, Journal& journal,
                                  const std::vector<Placed>& targets,
                                  const std::vector<bool>& touched, std::size_t failed,
                                  SystemError error) {
  std::string message =
      DisplayPath(folder.Show(targets[failed].name)) + ": cannot be replaced: " + ReasonOf(error);
  bool whole = true;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Target step = StepOf(folder, targets[i], targets[i].temps);
    if (const SystemError rollback_error = RollBack(step, touched[i])) {
      whole = false;
      message += "; " + DisplayPath(folder.Show(targets[i].name)) + " could not be put back (" +
                 ReasonOf(rollback_error) + ") and its old contents are in " +
                 DisplayPath(folder.Show(step.Kept())) + "; the next run puts it back";
    }
  }
  // A journal whose rollback failed stays for the next run to finish.
  if (whole) Ignore(journal.Remove());
  throw RunError(ErrorKind::kFile, message);
}

std::vector<fs::path> NamesOf(std::span<const FileReplacement> files) {
  std::vector<fs::path> names;
  for (const FileReplacement& file : files) names.push_back(file.name);
  return names;
}

}  // namespace

void RecoverFiles(const Folder& folder, std::span<const fs::path> names, const LockWait& wait) {
  if (names.empty()) return;
  const std::vector<Placed> targets = FollowAll(folder, names);
  Journal journal(folder, JournalName(names[0]), wait);
  Recover(folder, journal, targets);
  if (const SystemError error = journal.Remove()) {
    FailFile(journal.Shown(), "cannot be removed", error);
  }
}

void ReplaceFiles(const Folder& folder, std::span<const FileReplacement> files,
                  const JointContentSource& joint, const LockWait& wait) {
  if (files.empty()) return;
  const std::vector<fs::path> names = NamesOf(files);
  const std::vector<Placed> before = FollowAll(folder, names);  // a refusal leaves no trace
  Journal journal(folder, JournalName(names[0]), wait);
  Recover(folder, journal, before);
  std::vector<Placed> targets;
  try {
    // Again, now that the recovery may have changed what is at the targets.
    targets = FollowAll(folder, names);
    CheckTargets(folder, targets);
  } catch (const RunError&) {
    Ignore(journal.Remove());
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
    WriteFreshFiles(folder, targets, files, joint);
  } catch (const RunError&) {
    for (const Placed& target : targets) {
      Ignore(RollBack(StepOf(folder, target, target.temps), false));
    }
    Ignore(journal.Remove());
    throw;
  }
  std::vector<bool> touched(targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    bool changed = false;
    const SystemError error =
        Place(StepOf(folder, targets[i], targets[i].temps), files[i].content, changed);
    touched[i] = changed;
    if (error) FailAndRollBack(folder, journal, targets, touched, i, error);
  }
  if (const SystemError error = folder.Sync()) {
    FailAndRollBack(folder, journal, targets, touched, 0, error);
  }
  // The replacement is done once its journal is gone; a kept version left by a death after
  // this is a temporary that no journal names, and the next run removes it.
  if (const SystemError error = journal.Remove()) {
    FailAndRollBack(folder, journal, targets, touched, 0, error);
  }
  for (const Placed& target : targets) {
    if (!target.temps.kept.empty()) {
      Ignore(folder.Remove(TemporaryName(target.named, target.temps.kept)));
    }
  }
}
}  // namespace kelvane
