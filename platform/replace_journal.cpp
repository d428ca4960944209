#include "platform/replace_journal.h"

#include <cstddef>
#include <cstdint>

#include "platform/file_operations.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "replacement journal 1\n";
constexpr std::string_view kHexDigits = "0123456789abcdef";
// Every character of a path's native form, UTF-16 on Windows, as this many hex digits.
constexpr int kDigits = 2 * sizeof(fs::path::value_type);

// A path as hex digits of its native characters: any name, whatever bytes it holds, fits on
// one line.
std::string Hex(const fs::path& path) {
  std::string out = "-";  // no path is written as "-" alone
  for (const auto c : path.native()) {
    const auto code = static_cast<std::uint32_t>(c) & ((std::uint32_t{1} << (4 * kDigits)) - 1);
    for (int shift = 4 * (kDigits - 1); shift >= 0; shift -= 4) {
      out += kHexDigits[(code >> shift) & 0xF];
    }
  }
  return out;
}

bool FromHex(std::string_view text, fs::path& path) {
  if (!text.starts_with('-') || (text.size() - 1) % kDigits != 0) return false;
  fs::path::string_type native;
  for (std::size_t i = 1; i < text.size(); i += kDigits) {
    std::uint32_t code = 0;
    for (int d = 0; d < kDigits; ++d) {
      const std::size_t digit = kHexDigits.find(text[i + static_cast<std::size_t>(d)]);
      if (digit == std::string_view::npos) return false;
      code = code * 16 + static_cast<std::uint32_t>(digit);
    }
    native += static_cast<fs::path::value_type>(code);
  }
  path = fs::path(native);
  return true;
}

// The next blank-separated field of `line`.
std::string_view NextField(std::string_view& line) {
  const std::size_t end = line.find(' ');
  const std::string_view field = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  return field;
}

bool ParseEntry(std::string_view line, JournalEntry& entry) {
  const std::string_view flags = NextField(line);
  if (flags.size() != 2) return false;
  entry.existed = flags[0] == 'e';
  entry.in_place = flags[1] == 'i';
  return FromHex(NextField(line), entry.target) && FromHex(NextField(line), entry.fresh) &&
         FromHex(NextField(line), entry.kept) && line.empty();
}

SystemError IgnoreNotFound(SystemError error) { return IsNotFound(error) ? 0 : error; }

}  // namespace

fs::path PartOf(const fs::path& kept) {
  fs::path part = kept;
  part += ".part";
  return part;
}

std::string FormatJournal(std::span<const JournalEntry> entries) {
  std::string text(kHeader);
  for (const JournalEntry& entry : entries) {
    text += entry.existed ? 'e' : 'n';
    text += entry.in_place ? 'i' : 'r';
    text += ' ' + Hex(entry.target) + ' ' + Hex(entry.fresh) + ' ' + Hex(entry.kept) + '\n';
  }
  return text;
}

std::vector<JournalEntry> ParseJournal(std::string_view text) {
  std::vector<JournalEntry> entries;
  if (!text.starts_with(kHeader)) return entries;
  text.remove_prefix(kHeader.size());
  for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    JournalEntry entry;
    if (ParseEntry(text.substr(0, end), entry)) entries.push_back(entry);
    text.remove_prefix(end + 1);
  }
  return entries;
}

SystemError RollBack(const JournalEntry& entry, bool touched) {
  if (!entry.fresh.empty()) {
    if (const SystemError error = IgnoreNotFound(RemoveFile(entry.fresh))) return error;
  }
  if (!entry.existed) return touched ? IgnoreNotFound(RemoveFile(entry.target)) : 0;
  if (const SystemError error = IgnoreNotFound(RemoveFile(PartOf(entry.kept)))) return error;
  if (!touched) return IgnoreNotFound(RemoveFile(entry.kept));
  // Until the kept version is whole under its name, the target has not been touched.
  if (!FileExists(entry.kept)) return 0;
  if (entry.in_place) {
    std::string old;
    if (const SystemError error = ReadFileInto(entry.kept, old)) return error;
    const ContentSource copy = [&old](const ContentSink& sink) { sink(old); };
    if (const SystemError error = WriteInPlace(entry.target, copy)) return error;
    return RemoveFile(entry.kept);
  }
  // A kept hard link to the file still at the target's name: the target was not touched.
  FileFacts kept{}, target{};
  if (const SystemError error = StatFile(entry.kept, kept)) return error;
  if (const SystemError error = StatFile(entry.target, target)) return error;
  if (!(target.exists && kept.volume == target.volume && kept.file == target.file)) {
    if (const SystemError error = MoveFileOver(entry.kept, entry.target)) return error;
  }
  return IgnoreNotFound(RemoveFile(entry.kept));
}
