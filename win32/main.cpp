#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/folder_choice.h"
#include "app/form1_layout.h"
#include "app/go_press.h"
#include "platform/process.h"
#include "platform/system_error.h"
#include "platform/utf16.h"
#include "platform/windows_api.h"
#include "win32/folder_chooser.h"
#include "win32/form1.h"

namespace kelvane {

namespace {

// The arguments that follow the program's name, as the C runtime splits the command line.
std::vector<std::filesystem::path> Arguments() {
  std::vector<std::filesystem::path> arguments;
  for (int i = 1; __wargv && i < __argc; ++i) arguments.emplace_back(__wargv[i]);
  return arguments;
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
      // On standard error already; a dialog only where nobody reads it there.
      if (!command.windowless && !command.errors_read)
        kelvane::ShowText(command.text, MB_ICONERROR);
      return command.exit_status;
    case kelvane::CommandAction::kNoWindow:
      return kelvane::RunInEach(command.folders, command.limit);
    case kelvane::CommandAction::kRun:
      break;
  }
  std::filesystem::path folder = command.folders.front();
  if (kelvane::AsksForFolder(command)) {  // cancelled, no folder is chosen
    folder = kelvane::ChooseFolder(nullptr, {}).value_or("");
  }
  kelvane::Form1 form(instance, folder, command.limit);
  if (const DWORD error = form.Create()) {
    const std::string report =
        "run-time error: the window cannot be created: " + kelvane::ReasonOf(error);
    kelvane::WriteErrorLine(report);
    kelvane::ShowText(report, MB_ICONERROR);
    return 1;
  }
  return form.Run(show);
}
