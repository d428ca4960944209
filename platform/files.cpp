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

FileFacts FactsAt(const Folder& folder, const fs::path& name) {
  FileFacts facts;
  if (const SystemError error = folder.Stat(name, facts)) {
    FailFile(folder.Show(name), "cannot be read", error);
  }
  return facts;
}

// A link's text leads to an entry of its own folder only when it is one plain name: no
// folder part, which a link of that folder or a ".." could take elsewhere.
fs::path FollowLinksInFolder(const Folder& folder, const fs::path& name) {
  fs::path at = name;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    if (!FactsAt(folder, at).link) return at;
    Owner owner;
    fs::path text;
    if (const SystemError error = folder.GetOwner(at, owner)) {
      FailFile(folder.Show(at), "cannot be read", error);
    }
    if (const SystemError error = folder.ReadLink(at, text)) {
      FailFile(folder.Show(at), "cannot be read", error);
    }
    if (text.empty() || text != text.filename() || text == "." || text == "..") {
      RefuseFile(folder.Show(at), "is a symbolic link to " + DisplayPath(text) + " (owned by " +
                                      owner.name +
                                      "), outside its folder, so it is not followed: only "
                                      "links to a file in the same folder are");
    }
    if (!owner.trusted) {
      RefuseFile(folder.Show(at), "is a symbolic link owned by " + owner.name +
                                      ", so it is not followed: only your own links are, and "
                                      "those of a folder's owner where nobody else may write it");
    }
    at = text;
  }
  RefuseFile(folder.Show(at), "leads through more than 40 symbolic links");
}

void ReadWholeFile(const Folder& folder, const fs::path& name, std::size_t max_bytes,
                   std::string_view too_large, FileBytes& bytes) {
  const fs::path path = folder.Show(name);
  HeldFile file;
  FileFacts facts;
  if (const SystemError error =
          folder.Open(FollowLinksInFolder(folder, name), OpenAs::kRead, file)) {
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

std::string DisplayPath(const fs::path& path) { return WithoutControls(PathText(path)); }

}  // namespace kelvane
