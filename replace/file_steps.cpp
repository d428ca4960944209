#include "replace/file_steps.h"

#include <string_view>

namespace kelvane {

namespace fs = std::filesystem;

namespace {

SystemError IgnoreNotFound(SystemError error) { return IsNotFound(error) ? 0 : error; }

// Writes what `content` gives to `file`, then flushes and closes it; the first failure is
// kept, and the pieces after it are passed over.
SystemError WriteAndClose(HeldFile& file, const ContentSource& content) {
  SystemError error = 0;
  content([&](std::string_view piece) {
    if (!error) error = file.Write(piece);
  });
  if (!error) error = file.Flush();
  const SystemError closed = file.Close();
  return error ? error : closed;
}

// Whether `file` is the file `was` (any file, where `was` is null).
SystemError StillThere(const HeldFile& file, const FileFacts* was) {
  FileFacts now;
  if (was == nullptr) return 0;
  if (const SystemError error = file.Facts(now)) return error;
  return SameFile(now, *was) ? 0 : kChangedMeanwhile;
}

// Removes `name` where `was` (a recovery's check) lets it: only a file found there that is
// still there. Without a check, whatever is there.
SystemError RemoveChecked(const Folder& folder, const fs::path& name, const FileFacts* was) {
  FileFacts now;
  if (was != nullptr && (!was->exists || folder.Stat(name, now) || !SameFile(now, *was))) return 0;
  return IgnoreNotFound(folder.Remove(name));
}

// The content of the file `name` in `folder`, read piece by piece as it is written; where
// `was` is given, only while the file opened is that one.
SystemError CopyInto(const Folder& folder, const fs::path& name, HeldFile& to,
                     const FileFacts* was = nullptr) {
  HeldFile from;
  SystemError error = folder.Open(name, OpenAs::kRead, from);
  if (!error) error = StillThere(from, was);
  if (error) return error;
  const SystemError written = WriteAndClose(to, [&](const ContentSink& sink) {
    char buffer[1 << 16];
    for (std::size_t got = sizeof buffer; !error && got == sizeof buffer;) {
      error = from.Read(buffer, sizeof buffer, got);
      if (!error) sink({buffer, got});
    }
  });
  return error ? error : written;
}

SystemError WriteInPlace(const Folder& folder, const fs::path& name, const ContentSource& content) {
  HeldFile file;
  if (const SystemError error = folder.Open(name, OpenAs::kWrite, file)) return error;
  return WriteAndClose(file, content);
}

}  // namespace

SystemError KeepOld(const Target& target) {
  if (!target.temps.fresh.empty() && !target.folder.Link(target.name, target.Kept())) return 0;
  const fs::path part = PartName(target.Kept());
  HeldFile copy;
  if (const SystemError error = target.folder.Create(part, target.name, copy)) return error;
  if (const SystemError error = CopyInto(target.folder, target.name, copy)) return error;
  return target.folder.Rename(part, target.Kept());
}

SystemError Place(const Target& target, const ContentSource& content, bool& touched) {
  touched = false;
  if (!target.temps.kept.empty()) {
    if (const SystemError error = KeepOld(target)) return error;
  }
  if (target.temps.fresh.empty()) {
    touched = true;
    return WriteInPlace(target.folder, target.name, content);
  }
  const SystemError error = target.folder.Place(target.Fresh(), target.name);
  FileFacts facts;
  touched = !error || target.folder.Stat(target.name, facts) || !facts.exists;
  return error;
}

SystemError RollBack(const Target& target, bool touched, const CheckedFiles* checked) {
  const Folder& folder = target.folder;
  const auto was = [checked](FileFacts CheckedFiles::*facts) -> const FileFacts* {
    return checked ? &(checked->*facts) : nullptr;
  };
  if (!target.temps.fresh.empty()) {
    if (const SystemError error =
            RemoveChecked(folder, target.Fresh(), was(&CheckedFiles::fresh))) {
      return error;
    }
  }
  if (target.temps.kept.empty()) {
    return touched ? RemoveChecked(folder, target.name, was(&CheckedFiles::target)) : 0;
  }
  const fs::path part = PartName(target.Kept());
  if (const SystemError error = RemoveChecked(folder, part, was(&CheckedFiles::part))) return error;
  if (!touched) return IgnoreNotFound(folder.Remove(target.Kept()));
  // Until the kept version is whole under its name, the target has not been touched.
  FileFacts kept, now;
  if (checked && !checked->kept.exists) return 0;
  if (const SystemError error = folder.Stat(target.Kept(), kept)) return error;
  if (!kept.exists) return 0;
  if (checked && !SameFile(kept, checked->kept)) return kChangedMeanwhile;
  if (target.temps.fresh.empty()) {
    HeldFile file;
    if (const SystemError error = folder.Open(target.name, OpenAs::kWrite, file)) return error;
    if (const SystemError error = StillThere(file, was(&CheckedFiles::target))) return error;
    if (const SystemError error = CopyInto(folder, target.Kept(), file, was(&CheckedFiles::kept))) {
      return error;
    }
    return folder.Remove(target.Kept());
  }
  // A kept hard link to the file still at the target's name: the target was not touched.
  if (const SystemError error = folder.Stat(target.name, now)) return error;
  if (!SameFile(kept, now)) {
    if (const SystemError error = folder.Rename(target.Kept(), target.name)) return error;
  }
  return IgnoreNotFound(folder.Remove(target.Kept()));
}
}  // namespace kelvane
