#ifndef KELVANE_REPLACE_REPLACE_FILES_H_
#define KELVANE_REPLACE_REPLACE_FILES_H_

// Replacing a set of files all or none, durably, under a journal.
//
// Names. For targets T1..Tn, as named, the journal is ".T1.journal". Each target T gets at
// most two temporaries, named after T as named, never after where its link leads:
// ".T.new-XXXXXXXX", its new content, and ".T.old-XXXXXXXX", its old version (made through
// ".T.old-XXXXXXXX.part" where it must be copied); X is one of a-z0-9. A target's link may
// lead to none of these names and to no other target's.
//
// States of one replacement, and what is on disk in each:
//   1. Locked: the journal exists, empty or from a run that died; the targets are as they
//      were (or as that run left them).
//   2. Journaled: the journal names, for each target in order, its temporaries' tags
//      ("new-XXXXXXXX old-XXXXXXXX"; "-" for none) and is flushed to disk.
//   3. Written: each new temporary holds its whole new content, flushed.
//   4. Placing: target by target, the old version is kept (a hard link, or a copy) and the
//      new one takes the target's name (a rename; or the content written into the target
//      itself, where the target has other hard links so that every name sees it).
//   5. Committed: the journal is removed. This is the point of commit.
//   6. Done: the kept old versions are removed.
// The next run that takes the lock finds a journal in states 1 to 4 and puts every target
// back as it was before (RollBack); in states 5 and 6 it finds no journal, and removes the
// temporaries of the strict pattern that are left.
//
// Trust. Everything happens in one folder, held open from the start: the targets are names
// in it (FollowLinksInFolder), and every step works on names there, never following a link
// at a name. A journal is data, never a list of orders: it holds no paths, only tags, and
// is acted on only when it has one line of that form for each of this run's targets. It is
// opened without following links or blocking, must be a regular file of one name and at
// most kMaxJournalBytes, and is read through the handle that holds its lock. Before any
// entry is acted on, every entry is checked (EntryProblem): the journal was written by the
// user running this or by the owner of the pass line an entry stands for, and each file
// the entry would remove, move or put back is a regular file of one name (the kept version
// may still share its file with the target it was linked from), owned by the journal's
// writer or by the target's owner. The recovery then acts on what it checked: a name found
// absent stays so, and a file found is renamed or removed only while it is still that file.
// The clean-up removes only temporaries a run makes: of one name, the runner's or the
// target's owner's. A target with other names is written in place only where all of its
// names are in the folder.

#include <chrono>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

#include "platform/files.h"

namespace kelvane {

// Hands a file's whole content to the sink, piece by piece in order. It may be called more
// than once and must give the same content each time.
using ContentSource = std::function<void(const ContentSink& sink)>;

// Hands the contents of several files to their sinks, one sink a file in order, together,
// so that what the files share need be made once.
using JointContentSource = std::function<void(std::span<const ContentSink> sinks)>;

// A file to replace, by its name in the folder, and its new content.
struct FileReplacement {
  std::filesystem::path name;
  ContentSource content;
};

// What a replacement does while another holds the journal's lock: tells `notice` so at once,
// then waits at most `limit` before it gives up.
struct LockWait {
  std::function<void(std::string_view message)> notice;
  std::chrono::milliseconds limit{10000};
};

// Replaces every file of `files` in `folder` with its content, durably and all or none, in
// the states above. Refused before anything changes, with the reason: a journal that is not
// one of these targets' or is not safe to act on (naming it, its owner and who may remove
// it), a lock still held after `wait.limit`, a link that is not followed
// (FollowLinksInFolder), a target that is not a regular file, one the process may not write
// or replace, one open in another program that does not let others change it (Windows),
// two names of one file. When a target cannot be placed, those placed already get their
// old versions back and the error names the target at fault; if that fails too, the error
// says which file holds the old contents and the journal stays for the next run. A replaced
// file keeps what the user set up on it, as far as the file system and the process's rights
// allow: owner and group, permissions, extended attributes and ACLs; on Windows its
// attributes, ACL and streams. `joint`, when given, must give every file the same content as
// its own source; the new files are then written together from it.
void ReplaceFiles(const Folder& folder, std::span<const FileReplacement> files,
                  const JointContentSource& joint = {}, const LockWait& wait = {});

// Does for the files `names` in `folder` what ReplaceFiles does first: takes the lock, puts
// back what a run whose process died left half done, and removes the temporaries no journal
// needs. Throws as ReplaceFiles does.
void RecoverFiles(const Folder& folder, std::span<const std::filesystem::path> names,
                  const LockWait& wait = {});

}  // namespace kelvane

#endif  // KELVANE_REPLACE_REPLACE_FILES_H_
