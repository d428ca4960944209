#include "app/folder_line.h"

#include <string_view>
#include <vector>

#include "passlines/compute_pass_lines.h"
#include "platform/files.h"

namespace kelvane {

std::string FolderLineText(const std::filesystem::path& folder) {
  if (folder.empty()) return std::string(kNoFolderText);
  const std::vector<std::string_view> missing = MissingInputs(folder);
  if (missing.empty()) return DisplayPath(folder);
  std::string text = "No ";
  for (std::size_t i = 0; i < missing.size(); ++i) {
    if (i > 0) text += i + 1 == missing.size() ? " or " : ", ";
    text += missing[i];
  }
  return text + " in " + DisplayPath(folder);
}

}  // namespace kelvane
