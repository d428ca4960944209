#include "app/folder_choice.h"

#include <vector>

#include "app/caught_report.h"
#include "passlines/compute_pass_lines.h"
#include "platform/files.h"

namespace kelvane {

namespace fs = std::filesystem;

std::optional<fs::path> FolderNamedBy(const fs::path& path) {
  if (!FileExists(path)) return std::nullopt;
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  return IsFolder(path) ? absolute : absolute.parent_path();
}

Drop ReadDrop(std::span<const fs::path> items) {
  if (items.size() != 1) {
    return {
        {},
        std::to_string(items.size()) + " items were dropped; drop one folder, or one file in it"};
  }
  std::optional<fs::path> folder = FolderNamedBy(items.front());
  if (!folder) return {{}, DisplayPath(items.front()) + ": there is no such file or folder"};
  return {std::move(*folder), ""};
}

fs::path ChooserStart(const fs::path& in_use, bool from_terminal, const fs::path& working,
                      const fs::path& program, const fs::path& last) {
  if (!in_use.empty()) return in_use;
  std::error_code error;
  return !from_terminal || fs::equivalent(working, program, error) || error ? last : working;
}

bool AsksForFolder(const Command& command) {
  return command.action == CommandAction::kRun && !command.named &&
         MissingInputs(command.folders.front()).size() == 3;
}

}  // namespace kelvane
