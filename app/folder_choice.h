#ifndef KELVANE_APP_FOLDER_CHOICE_H_
#define KELVANE_APP_FOLDER_CHOICE_H_

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace kelvane {

// How a window comes to its folder: asked for at start, chosen in the chooser, or dropped.

// The folder a path names as the command line and a drop take it: the path itself made
// absolute when it is a folder, else the folder that holds the file it names; none when
// nothing is there.
std::optional<std::filesystem::path> FolderNamedBy(const std::filesystem::path& path);

// Whether the window should ask for a folder before it opens: none was named, and the
// program's own folder holds none of the inputs, as for a copy installed with the system's
// programs and started from a menu.
bool AsksForFolder(const Command& command);

// What items dropped onto the window ask for: the folder that one item names, as a path
// named on the command line does (a folder, or the folder that holds a file); or, for more
// than one item or one that is not there, `problem` says so and `folder` is empty.
struct Drop {
  std::filesystem::path folder;
  std::string problem;
};
Drop ReadDrop(std::span<const std::filesystem::path> items);

// The title of the folder chooser that AsksForFolder, Ctrl+O and a click on the folder line
// call for.
inline constexpr std::string_view kChooseFolderTitle = "Choose the folder of your line files";

// Where the folder chooser opens: the folder in use, `in_use`, where there is one (Ctrl+O, a
// click on the folder line); else the working folder `working` where a terminal started
// Kelvane (`from_terminal`) and it is not the program's own folder `program`; else the folder
// last chosen, `last` ("" where there is none: the toolkit's own choice).
std::filesystem::path ChooserStart(const std::filesystem::path& in_use, bool from_terminal,
                                   const std::filesystem::path& working,
                                   const std::filesystem::path& program,
                                   const std::filesystem::path& last);

}  // namespace kelvane

#endif  // KELVANE_APP_FOLDER_CHOICE_H_
