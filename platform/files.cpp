// What files.h promises that is the same on every platform, on top of Folder.

#include "platform/files.h"

#include <string>

#include "base/run_error.h"
#include "platform/file_error.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;

}  // namespace

Folder OpenFolder(const fs::path& path) {
  Folder folder;
  const fs::path where = path.empty() ? fs::path(".") : path;
  if (const SystemError error = folder.Open(where)) FailFile(where, "cannot be opened", error);
  return folder;
}

PlacedFile FollowTrustedLinks(const fs::path& path) {
  PlacedFile file{OpenFolder(path.parent_path()), path.filename()};
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    FileFacts facts;
    if (const SystemError error = file.folder.Stat(file.name, facts)) {
      FailFile(file.Shown(), "cannot be read", error);
    }
    if (!facts.link) return file;
    Owner owner;
    fs::path text;
    if (const SystemError error = file.folder.GetOwner(file.name, owner)) {
      FailFile(file.Shown(), "cannot be read", error);
    }
    if (!owner.trusted) {
      RefuseFile(file.Shown(), "is a symbolic link owned by " + owner.name +
                                   ", so it is not followed: only your own links are, and "
                                   "those of a folder's owner where nobody else may write it");
    }
    if (const SystemError error = file.folder.ReadLink(file.name, text)) {
      FailFile(file.Shown(), "cannot be read", error);
    }
    const fs::path next = text.is_absolute() ? text : file.folder.path() / text;
    file = {OpenFolder(next.parent_path()), next.filename()};
  }
  RefuseFile(file.Shown(), "leads through more than 40 symbolic links");
}

void ReadWholeFile(const fs::path& path, std::size_t max_bytes, std::string_view too_large,
                   FileBytes& bytes) {
  const PlacedFile placed = FollowTrustedLinks(path);
  HeldFile file;
  FileFacts facts;
  if (const SystemError error = placed.folder.Open(placed.name, OpenAs::kRead, file)) {
    FailFile(path, "cannot be opened", error);
  }
  if (const SystemError error = file.Facts(facts)) FailFile(path, "cannot be read", error);
  if (!facts.regular) RefuseFile(path, "is not a regular file");
  CheckFileSize(path, facts.size, max_bytes, too_large);
  std::size_t got = 0;
  const auto size = static_cast<std::size_t>(facts.size);
  if (const SystemError error = file.Read(bytes.Prepare(size), size, got)) {
    FailFile(path, "cannot be read", error);
  }
  bytes.SetSize(got);
}
}  // namespace kelvane
