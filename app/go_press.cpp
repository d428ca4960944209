#include "app/go_press.h"

#include <utility>

#include "app/caught_report.h"
#include "app/folder_line.h"
#include "app/limit_text.h"
#include "passlines/compute_pass_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace kelvane {

namespace {

// `report` for a line that names `folder` in front: the files in it by their names alone,
// and the folder left out where it is the place at fault, so that the line names it once.
std::string ReportInFolder(std::string report, const std::filesystem::path& folder) {
  const std::string inside = DisplayPath(folder / "");
  for (auto at = report.find(inside); at != std::string::npos; at = report.find(inside, at)) {
    report.erase(at, inside.size());
  }
  const std::string place = ": " + DisplayPath(folder) + ": ";
  if (const auto at = report.find(place); at != std::string::npos) {
    report.erase(at + 2, place.size() - 2);
  }
  return report;
}

// The job in `folder`. A failure is written to standard error as "kelvane: <report>" (with
// `in_front`, "kelvane: <folder>: <report>") and returned as its report; while another run
// holds the pass lines, that is said at once on standard error and to `on_wait`.
GoOutcome RunJob(const HeldFolder& folder, float limit,
                 const std::function<void(std::string_view)>& on_wait, bool in_front) {
  const std::filesystem::path& path = folder.path();
  const auto line = [&](const std::string& text) {
    WriteErrorLine(in_front ? DisplayPath(path) + ": " + ReportInFolder(text, path) : text);
  };
  LockWait wait;
  wait.notice = [&](std::string_view message) {
    line(std::string(message));
    if (on_wait) on_wait(message);
  };
  try {
    ComputePassLines(folder.Get(), limit, wait);
    return {GoResult::kDone, ""};
  } catch (...) {
    CaughtReport report = ReportCaught();
    line(report.text);
    return {report.busy ? GoResult::kBusy : GoResult::kFailed, std::move(report.text)};
  }
}

}  // namespace

GoOutcome PressGo(std::string_view limit_text, const HeldFolder& folder, float& max_separation,
                  const std::function<void(std::string_view)>& on_wait) {
  const LimitReading limit = ReadLimitText(limit_text);
  if (limit.problem != LimitProblem::kNone) {
    return {GoResult::kRefused, std::string(RefusalMessage(limit.problem))};
  }
  max_separation = limit.meters;
  if (folder.path().empty()) return {GoResult::kNoFolder, std::string(kNoFolderReport)};
  return RunJob(folder, max_separation, on_wait, false);
}

int RunInEach(std::span<const std::filesystem::path> folders, std::string_view limit_text) {
  const float limit = ReadLimitText(limit_text).meters;
  int status = 0;
  for (const std::filesystem::path& folder : folders) {
    if (RunJob(HeldFolder(folder), limit, {}, true).result != GoResult::kDone) status = 1;
  }
  return status;
}

GoReaction ReactionTo(GoResult result) {
  using Message = GoReaction::Message;
  switch (result) {
    case GoResult::kRefused:
      return {Message::kWarning, true, false, 0};
    case GoResult::kBusy:
    case GoResult::kNoFolder:
      return {Message::kWarning, false, false, 0};
    case GoResult::kFailed:
      return {Message::kError, false, true, 1};
    case GoResult::kDone:
      break;
  }
  return {Message::kNone, false, true, 0};
}

}  // namespace kelvane
