#ifndef KELVANE_APP_FOLDER_LINE_H_
#define KELVANE_APP_FOLDER_LINE_H_

#include <filesystem>
#include <string>

namespace kelvane {

// What the line under the controls says of `folder`, the folder Go works in: its path, or,
// where inputs are not there, which: "No MinRace.txt in <folder>", "No Race.txt or
// MinRace.txt in <folder>", "No Race.txt, MaxRace.txt or MinRace.txt in <folder>".
std::string FolderLineText(const std::filesystem::path& folder);

}  // namespace kelvane

#endif  // KELVANE_APP_FOLDER_LINE_H_
