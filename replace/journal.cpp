#include "replace/journal.h"

#include <algorithm>
#include <random>
#include <thread>

#include "base/run_error.h"
#include "platform/file_error.h"
#include "platform/files.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "kelvane journal 2\n";
constexpr std::string_view kTagChars = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomChars = 8;
constexpr auto kLockPoll = std::chrono::milliseconds(100);

bool IsTag(std::string_view text, std::string_view kind) {
  return text.size() == kind.size() + 1 + kRandomChars && text.starts_with(kind) &&
         text[kind.size()] == '-' &&
         text.find_first_not_of(kTagChars, kind.size() + 1) == std::string_view::npos;
}

// One line of a journal: "<new tag> <old tag>", "-" for none, not both "-".
std::optional<JournalEntry> ParseEntry(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view fresh = line.substr(0, blank), kept = line.substr(blank + 1);
  const bool fresh_ok = fresh == "-" || IsTag(fresh, "new");
  const bool kept_ok = kept == "-" || IsTag(kept, "old");
  if (!fresh_ok || !kept_ok || (fresh == "-" && kept == "-")) return std::nullopt;
  return JournalEntry{fresh == "-" ? "" : std::string(fresh), kept == "-" ? "" : std::string(kept)};
}

Owner OwnerOf(const Folder& folder, const fs::path& name) {
  Owner owner;
  if (folder.GetOwner(name, owner)) owner.name = "an unknown user";
  return owner;
}

// What follows a refusal: who may remove the journal.
std::string RemoverOf(const Owner& owner) {
  return owner.removable ? "Remove it to go on."
                         : "Only " + owner.name + ", or the folder's owner, can remove it.";
}

}  // namespace

std::string NewTag(std::string_view kind) {
  static std::mt19937 random{std::random_device{}()};
  std::string tag(kind);
  tag += '-';
  for (std::size_t i = 0; i < kRandomChars; ++i) tag += kTagChars[random() % kTagChars.size()];
  return tag;
}

fs::path TemporaryName(const fs::path& target, std::string_view tag) {
  fs::path name(".");
  name += target;
  name += ".";
  name += fs::path(tag);
  return name;
}

fs::path PartName(const fs::path& kept) {
  fs::path part = kept;
  part += ".part";
  return part;
}

bool IsTemporaryName(const fs::path& target, const fs::path& name) {
  const std::string start = TemporaryName(target, "").string(), text = name.string();
  if (!text.starts_with(start)) return false;
  std::string_view tag = std::string_view(text).substr(start.size());
  if (tag.ends_with(".part")) tag.remove_suffix(5);
  return IsTag(tag, "new") || IsTag(tag, "old");
}

fs::path JournalName(const fs::path& first) {
  fs::path name(".");
  name += first;
  name += ".journal";
  return name;
}

bool IsRunName(std::span<const fs::path> targets, const fs::path& name) {
  if (!targets.empty() && name == JournalName(targets.front())) return true;
  return std::ranges::any_of(
      targets, [&name](const fs::path& target) { return IsTemporaryName(target, name); });
}

std::string FormatJournal(std::span<const JournalEntry> entries) {
  std::string text(kHeader);
  for (const JournalEntry& entry : entries) {
    text += (entry.fresh.empty() ? "-" : entry.fresh) + ' ' +
            (entry.kept.empty() ? "-" : entry.kept) + '\n';
  }
  return text;
}

std::optional<std::vector<JournalEntry>> ParseJournal(std::string_view text, std::size_t count) {
  std::vector<JournalEntry> entries;
  if (text.empty()) return entries;
  if (!text.starts_with(kHeader)) return std::nullopt;
  text.remove_prefix(kHeader.size());
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::optional<JournalEntry> entry = ParseEntry(text.substr(0, end));
    if (!entry) return std::nullopt;
    entries.push_back(*entry);
    text.remove_prefix(end + 1);
  }
  if (entries.size() != count) return std::nullopt;
  return entries;
}

Journal::Journal(const Folder& folder, fs::path name, const LockWait& wait)
    : folder_(folder), name_(std::move(name)) {
  const auto deadline = std::chrono::steady_clock::now() + wait.limit;
  SystemError error = folder_.Open(name_, OpenAs::kJournal, file_);
  if (IsBusy(error) && wait.notice) {
    wait.notice(DisplayPath(Shown()) + " is held by another run of Kelvane; waiting up to " +
                std::to_string(wait.limit.count() / 1000) + " seconds for it to finish");
  }
  while (IsBusy(error) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kLockPoll);
    error = folder_.Open(name_, OpenAs::kJournal, file_);
  }
  if (IsBusy(error)) {
    throw RunError(ErrorKind::kBusy, ErrorPlace{DisplayPath(Shown())},
                   "is held by another run of Kelvane (owned by " + OwnerOf(folder_, name_).name +
                       "), still after " + std::to_string(wait.limit.count() / 1000) +
                       " seconds; nothing was changed. Try again once it has finished.");
  }
  FileFacts facts;
  if (error) {
    Ignore(folder_.Stat(name_, facts));
    if (facts.link) Refuse("is a symbolic link, not a journal of Kelvane");
    if (!facts.exists) FailFile(Shown(), "cannot be created", error);
    const Owner owner = OwnerOf(folder_, name_);
    throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(Shown())},
                   "cannot be opened (owned by " + owner.name + "): " + ReasonOf(error) +
                       "; nothing was changed. " + RemoverOf(owner));
  }
  if (const SystemError fact_error = file_.Facts(facts))
    FailFile(Shown(), "cannot be read", fact_error);
  if (!facts.regular) Refuse("is not a regular file, so not a journal of Kelvane");
  if (facts.links != 1) Refuse("has other names (hard links), so it is not a journal of Kelvane");
  if (facts.size > kMaxJournalBytes) {
    Refuse("is " + std::to_string(facts.size) + " bytes, too large for a journal of Kelvane");
  }
}

std::vector<JournalEntry> Journal::Read(std::size_t count) {
  char text[kMaxJournalBytes + 1];
  std::size_t got = 0;
  if (const SystemError error = file_.Read(text, sizeof text, got)) {
    FailFile(Shown(), "cannot be read", error);
  }
  std::optional<std::vector<JournalEntry>> entries = ParseJournal({text, got}, count);
  if (!entries) Refuse("is not a journal of Kelvane for these pass lines");
  return *std::move(entries);
}

SystemError Journal::Write(std::span<const JournalEntry> entries) {
  if (const SystemError error = file_.Rewind()) return error;
  if (const SystemError error = file_.Write(FormatJournal(entries))) return error;
  if (const SystemError error = file_.Flush()) return error;
  return folder_.Sync();
}

SystemError Journal::Remove() { return folder_.RemoveHeld(name_, file_); }

Owner Journal::GetOwner() const {
  Owner owner;
  if (const SystemError error = folder_.GetOwner(name_, owner)) {
    FailFile(Shown(), "cannot be read", error);
  }
  return owner;
}

void Journal::Refuse(std::string_view problem) const {
  const Owner owner = OwnerOf(folder_, name_);
  RefuseFile(Shown(), std::string(problem) + " (owned by " + owner.name +
                          "); nothing was changed. " + RemoverOf(owner));
}
}  // namespace kelvane
