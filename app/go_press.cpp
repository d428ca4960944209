#include "app/go_press.h"

#include <exception>

#include "base/run_error.h"
#include "passlines/compute_pass_lines.h"
#include "platform/files.h"
#include "platform/process.h"
#include "app/limit_text.h"

namespace kelvane {

namespace {

// The job in `folder`. A failure is written to standard error as "kelvane: <where><report>"
// and returned as its report; while another run holds the pass lines, that is said at once
// on standard error and to `on_wait`.
GoOutcome RunJob(const std::filesystem::path& folder, float limit,
                 const std::function<void(std::string_view)>& on_wait, const std::string& where) {
  LockWait wait;
  wait.notice = [&](std::string_view message) {
    WriteStandardError("kelvane: " + where + std::string(message) + "\n");
    if (on_wait) on_wait(message);
  };
  std::string report;
  GoResult result = GoResult::kFailed;
  try {
    ComputePassLines(folder, limit, wait);
    return {GoResult::kDone, ""};
  } catch (const RunError& error) {
    report = error.Report();
    if (error.kind() == ErrorKind::kBusy) result = GoResult::kBusy;
  } catch (const std::exception& error) {
    report = std::string("run-time error: ") + error.what();
  }
  WriteStandardError("kelvane: " + where + report + "\n");
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
  return RunJob(folder, max_separation, on_wait, "");
}

// Each failure names its folder first: the reports of a line file's content name the file
// alone.
int RunInEach(std::span<const std::filesystem::path> folders, std::string_view limit_text) {
  const float limit = ReadLimitText(limit_text).meters;
  int status = 0;
  for (const std::filesystem::path& folder : folders) {
    if (RunJob(folder, limit, {}, DisplayPath(folder) + ": ").result != GoResult::kDone) status = 1;
  }
  return status;
}

int ExitStatus(GoResult result) { return result == GoResult::kFailed ? 1 : 0; }

}  // namespace kelvane
