#ifndef KELVANE_WIN32_FOLDER_CHOOSER_H_
#define KELVANE_WIN32_FOLDER_CHOOSER_H_

#include <filesystem>
#include <optional>

#include "platform/windows_api.h"

namespace kelvane {

// The folder the user picks in the system's folder chooser, owned by `owner` (none: a window
// of its own); nothing when they cancel. It opens where ChooserStart says for the folder in
// use `in_use`, the dialog keeping the folder last chosen itself.
std::optional<std::filesystem::path> ChooseFolder(HWND owner, const std::filesystem::path& in_use);

}  // namespace kelvane

#endif  // KELVANE_WIN32_FOLDER_CHOOSER_H_
