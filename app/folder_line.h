#ifndef KELVANE_APP_FOLDER_LINE_H_
#define KELVANE_APP_FOLDER_LINE_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "app/held_folder.h"

namespace kelvane {

// What the folder line and the preview say while no folder is chosen: a click on either
// chooses one.
inline constexpr std::string_view kNoFolderText =
    "No folder chosen: press Ctrl+O, or click here, to choose the folder of your line files";
// The same in Go's report, where a click does not do it.
inline constexpr std::string_view kNoFolderReport =
    "No folder chosen: press Ctrl+O, or click the line at the foot of the window, to choose "
    "the folder of your line files";

// What the line under the controls says of `folder`, the folder Go works in: its path, or,
// where inputs are not there, which: "No MinRace.txt in <folder>", "No Race.txt or
// MinRace.txt in <folder>", "No Race.txt, MaxRace.txt or MinRace.txt in <folder>";
// kNoFolderText for none; and where its path now leads elsewhere, that Go still works in
// the folder chosen.
std::string FolderLineText(const HeldFolder& folder);

}  // namespace kelvane

#endif  // KELVANE_APP_FOLDER_LINE_H_
