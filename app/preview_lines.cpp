#include "app/preview_lines.h"

#include <system_error>

#include "app/caught_report.h"
#include "app/folder_line.h"
#include "app/limit_text.h"
#include "base/decimal_number.h"
#include "passlines/compute_pass_lines.h"
#include "passlines/separation_move.h"
#include "platform/files.h"

namespace kelvane {

namespace {

// Each input's size and time of last change, as far as they can be learnt.
std::string InputStamp(const std::filesystem::path& folder) {
  std::string stamp;
  for (std::size_t i = 0; i < 3; ++i) {
    std::error_code error;
    const std::filesystem::path path = folder / kLineNames[i];
    const auto size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    stamp += std::to_string(size) + " " + std::to_string(time.time_since_epoch().count()) + ";";
  }
  return stamp;
}

std::vector<float> Separations(const LineGrid& grid) {
  std::vector<float> values;
  values.reserve(static_cast<std::size_t>(grid.count()));
  for (int row = LineGrid::kHeaderRows + 1; row <= grid.last_row(); ++row) {
    values.push_back(grid.at(row, kSeparationColumn));
  }
  return values;
}

// "At <limit> m the limit holds Pass1 on <n> of <rows> rows and Pass2 on <m>."
std::string HeldSummary(const std::array<std::vector<float>, 5>& lines, float limit) {
  const std::vector<float>& race = lines[0];
  std::array<int, 2> held{};
  for (std::size_t row = 0; row < race.size(); ++row) {
    for (std::size_t pass = 0; pass < 2; ++pass) {
      held[pass] += HeldByLimit(race[row], lines[1 + pass][row], limit) ? 1 : 0;
    }
  }
  std::string text = "At ";
  AppendDecimal(text, limit);
  return text + " m the limit holds Pass1 on " + std::to_string(held[0]) + " of " +
         std::to_string(race.size()) + " rows and Pass2 on " + std::to_string(held[1]) + ".";
}

}  // namespace

std::string PreviewDescription(const PreviewLines& lines) {
  if (lines.problem.empty()) return lines.summary;
  return lines.summary.empty() ? lines.problem : lines.summary + " " + lines.problem;
}

bool PreviewSource::Refresh(const std::filesystem::path& folder) {
  std::string stamp = folder.empty() ? "" : InputStamp(folder);
  if (folder == folder_ && stamp == stamp_ && (inputs_ || !problem_.empty())) return false;
  folder_ = folder;
  stamp_ = std::move(stamp);
  inputs_.reset();
  problem_.clear();
  if (folder.empty()) {
    problem_ = kNoFolderText;
    return true;
  }
  try {
    inputs_ = ReadPassInputs(OpenFolder(folder));
  } catch (...) {
    problem_ = ReportCaught().text;
  }
  return true;
}

PreviewLines PreviewSource::Lines(std::string_view limit_text) const {
  PreviewLines lines;
  if (!inputs_) {
    lines.problem = problem_;
    return lines;
  }
  const auto& [race, max_race, min_race] = *inputs_;
  lines.separations = {Separations(race), Separations(max_race), Separations(min_race)};
  const LimitReading limit = ReadLimitText(limit_text);
  if (limit.problem != LimitProblem::kNone) {
    lines.problem = RefusalMessage(limit.problem);
    return lines;
  }
  try {
    lines.separations[3] = Separations(MakePassLine(race, max_race, limit.meters, "Pass1.txt"));
    lines.separations[4] = Separations(MakePassLine(race, min_race, limit.meters, "Pass2.txt"));
  } catch (...) {
    lines.separations[3].clear();
    lines.problem = ReportCaught().text;
    return lines;
  }
  lines.summary = HeldSummary(lines.separations, limit.meters);
  return lines;
}

}  // namespace kelvane
