#ifndef KELVANE_APP_HELD_FOLDER_H_
#define KELVANE_APP_HELD_FOLDER_H_

#include <filesystem>

#include "platform/folder.h"

namespace kelvane {

// The folder a window works in: the path it was chosen by, and the folder itself, held open
// from that moment, so that the preview and every Go read and write that very folder, even
// once the path is renamed or leads to another.
class HeldFolder {
 public:
  HeldFolder() = default;  // none chosen
  // Opens the folder at `path`; where it cannot be, Get says why.
  explicit HeldFolder(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }
  // The folder held open, or nullptr where none is chosen or it could not be opened.
  const Folder* Opened() const { return error_ || path_.empty() ? nullptr : &folder_; }
  // The folder held open. Throws OpenFolder's error where it could not be opened.
  const Folder& Get() const;
  // Whether the path now leads to another folder than the one held, or to none.
  bool Moved() const;

 private:
  std::filesystem::path path_;
  Folder folder_;
  SystemError error_ = 0;
};

}  // namespace kelvane

#endif  // KELVANE_APP_HELD_FOLDER_H_
