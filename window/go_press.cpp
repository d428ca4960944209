#include "window/go_press.h"

#include <exception>

#include "base/run_error.h"
#include "passlines/compute_pass_lines.h"
#include "platform/process.h"
#include "window/limit_text.h"

namespace {

GoOutcome Failed(const std::string& report) {
  WriteStandardError("kelvane: " + report + "\n");
  return {GoResult::kFailed, report};
}

}  // namespace

GoOutcome PressGo(std::string_view limit_text, const std::filesystem::path& folder,
                  float& max_separation) {
  const LimitReading limit = ReadLimitText(limit_text);
  if (limit.problem != LimitProblem::kNone) {
    return {GoResult::kRefused, std::string(RefusalMessage(limit.problem))};
  }
  max_separation = limit.meters;
  try {
    ComputePassLines(folder, max_separation);
  } catch (const RunError& error) {
    return Failed(error.Report());
  } catch (const std::exception& error) {
    return Failed(std::string("run-time error: ") + error.what());
  }
  return {GoResult::kDone, ""};
}

int ExitStatus(GoResult result) { return result == GoResult::kFailed ? 1 : 0; }
