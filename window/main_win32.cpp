#include <string>

#include "base/run_error.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/system_error.h"
#include "platform/utf16.h"
#include "window/form1_win32.h"

namespace {

// A failure before the window is up: on standard error and in a message box.
int ReportStartFailure(const std::string& report) {
  WriteStandardError("kelvane: " + report + "\n");
  MessageBoxW(nullptr, Utf16(report).c_str(), L"Kelvane", MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  IgnoreClosedPipes();
  std::filesystem::path folder;
  try {
    folder = ProgramDir();
  } catch (const RunError& error) {
    return ReportStartFailure(error.Report());
  }
  Form1 form(instance, folder);
  if (const DWORD error = form.Create()) {
    return ReportStartFailure("run-time error: the window cannot be created: " + ReasonOf(error));
  }
  return form.Run(show);
}
