#include "window/go_press.h"

#include <exception>

#include "linefiles/platform.h"
#include "linefiles/run_error.h"
#include "passlines/compute_pass_lines.h"
#include "window/limit_text.h"

namespace {

GoOutcome Failed(const std::string& report) {
  WriteStandardError("kelvane: " + report + "\n");
  return {GoOutcome::kFailed, report};
}

}  // namespace

GoOutcome PressGo(PassLineFields& fields, std::string_view limit_text,
                  const std::filesystem::path& folder) {
  const LimitReading limit = ReadLimitText(limit_text);
  if (limit.problem != LimitProblem::kNone) {
    return {GoOutcome::kRefused, std::string(RefusalMessage(limit.problem))};
  }
  fields.MaxSeparation = limit.meters;
  try {
    ComputePassLines(fields, folder.empty() ? ProgramDir() : folder);
  } catch (const RunError& error) {
    return Failed(error.Report());
  } catch (const std::exception& error) {
    return Failed(std::string("run-time error: ") + error.what());
  }
  return {GoOutcome::kDone, ""};
}

int ExitStatus(GoOutcome::Result result) { return result == GoOutcome::kFailed ? 1 : 0; }
