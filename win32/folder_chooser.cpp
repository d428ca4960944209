#include "win32/folder_chooser.h"

// After the Windows API, which they need.
#include <objbase.h>
#include <shobjidl.h>

#include "app/folder_choice.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/utf16.h"

namespace kelvane {

namespace {

// Opens `dialog` in the folder ChooserStart names; where it names none, the dialog opens
// where it was left last time.
void StartIn(IFileOpenDialog* dialog, const std::filesystem::path& in_use) {
  std::error_code error;
  const std::filesystem::path start = ChooserStart(
      in_use, StartedFromTerminal(), std::filesystem::current_path(error), ProgramDir(), {});
  IShellItem* folder = nullptr;
  if (start.empty() ||
      FAILED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
    return;
  }
  dialog->SetFolder(folder);
  folder->Release();
}

}  // namespace

std::optional<std::filesystem::path> ChooseFolder(HWND owner, const std::filesystem::path& in_use) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) return {};
  std::optional<std::filesystem::path> chosen;
  IFileOpenDialog* dialog = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&dialog)))) {
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(Utf16(kChooseFolderTitle).c_str());
    StartIn(dialog, in_use);
    IShellItem* item = nullptr;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
      PWSTR path = nullptr;
      if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) chosen = path;
      CoTaskMemFree(path);
      item->Release();
    }
    dialog->Release();
  }
  CoUninitialize();
  return chosen;
}

}  // namespace kelvane
