#include "window/go_press.h"

#include <exception>

#include "base/run_error.h"
#include "passlines/compute_pass_lines.h"
#include "platform/process.h"
#include "window/limit_text.h"

namespace kelvane {

namespace {

GoOutcome Failed(GoResult result, const std::string& report) {
  WriteStandardError("kelvane: " + report + "\n");
  return {result, report};
}

}  // namespace

GoOutcome PressGo(std::string_view limit_text, const std::filesystem::path& folder,
                  float& max_separation, const std::function<void(std::string_view)>& on_wait) {
  const LimitReading limit = ReadLimitText(limit_text);
  if (limit.problem != LimitProblem::kNone) {
    return {GoResult::kRefused, std::string(RefusalMessage(limit.problem))};
  }
  max_separation = limit.meters;
  LockWait wait;
  wait.notice = [&on_wait](std::string_view message) {
    WriteStandardError("kelvane: " + std::string(message) + "\n");
    if (on_wait) on_wait(message);
  };
  try {
    ComputePassLines(folder, max_separation, wait);
  } catch (const RunError& error) {
    return Failed(error.kind() == ErrorKind::kBusy ? GoResult::kBusy : GoResult::kFailed,
                  error.Report());
  } catch (const std::exception& error) {
    return Failed(GoResult::kFailed, std::string("run-time error: ") + error.what());
  }
  return {GoResult::kDone, ""};
}

int ExitStatus(GoResult result) { return result == GoResult::kFailed ? 1 : 0; }
}  // namespace kelvane
