#include "app/folder_line.h"

#include <string_view>
#include <vector>

#include "passlines/compute_pass_lines.h"
#include "platform/files.h"

namespace kelvane {

std::string FolderLineText(const HeldFolder& folder) {
  if (folder.path().empty()) return std::string(kNoFolderText);
  const std::string path = DisplayPath(folder.path());
  if (folder.Moved()) {
    return path + " now leads to another folder, or none: Go works in the folder chosen as " +
           path + "; choose the folder again to work in what is there now";
  }
  const Folder* held = folder.Opened();
  const std::vector<std::string_view> missing =
      held ? MissingInputs(*held) : MissingInputs(folder.path());
  if (missing.empty()) return path;
  std::string text = "No ";
  for (std::size_t i = 0; i < missing.size(); ++i) {
    if (i > 0) text += i + 1 == missing.size() ? " or " : ", ";
    text += missing[i];
  }
  return text + " in " + path;
}

}  // namespace kelvane
