#include "platform/windows_api.h"
// After the Windows API, which it needs.
#include <shobjidl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form1_layout.h"
#include "app/go_press.h"
#include "platform/process.h"
#include "platform/system_error.h"
#include "platform/utf16.h"
#include "win32/form1.h"

namespace kelvane {

namespace {

// The arguments that follow the program's name, as the C runtime splits the command line.
std::vector<std::filesystem::path> Arguments() {
  std::vector<std::filesystem::path> arguments;
  for (int i = 1; __wargv && i < __argc; ++i) arguments.emplace_back(__wargv[i]);
  return arguments;
}

// The folder the user picks in the system's folder chooser; nothing when they cancel.
std::optional<std::filesystem::path> ChooseFolder() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) return {};
  std::optional<std::filesystem::path> chosen;
  IFileOpenDialog* dialog = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&dialog)))) {
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(Utf16(kChooseFolderTitle).c_str());
    IShellItem* item = nullptr;
    if (SUCCEEDED(dialog->Show(nullptr)) && SUCCEEDED(dialog->GetResult(&item))) {
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

void ShowText(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, Utf16(text).c_str(), Utf16(kCaption).c_str(), MB_OK | icon);
}

}  // namespace

}  // namespace kelvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  kelvane::UseSystemDllsOnly();
  kelvane::IgnoreClosedPipes();
  const kelvane::Command command = kelvane::StartCommand(kelvane::Arguments());
  switch (command.action) {
    case kelvane::CommandAction::kHelp:
    case kelvane::CommandAction::kVersion:
      if (!kelvane::WriteStandardOutput(command.text))
        kelvane::ShowText(command.text, MB_ICONINFORMATION);
      return 0;
    case kelvane::CommandAction::kRefuse:
      if (!command.windowless) kelvane::ShowText(command.text, MB_ICONERROR);
      return command.exit_status;
    case kelvane::CommandAction::kNoWindow:
      return kelvane::RunInEach(command.folders, command.limit);
    case kelvane::CommandAction::kRun:
      break;
  }
  std::filesystem::path folder = command.folders.front();
  if (kelvane::AsksForFolder(command)) {
    if (const auto chosen = kelvane::ChooseFolder()) folder = *chosen;  // else cancelled
  }
  kelvane::Form1 form(instance, folder, command.limit);
  if (const DWORD error = form.Create()) {
    const std::string report =
        "run-time error: the window cannot be created: " + kelvane::ReasonOf(error);
    kelvane::WriteStandardError("kelvane: " + report + "\n");
    kelvane::ShowText(report, MB_ICONERROR);
    return 1;
  }
  return form.Run(show);
}
