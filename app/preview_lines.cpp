#include "app/preview_lines.h"

#include <ctime>
#include <system_error>

#include "app/caught_report.h"
#include "app/folder_line.h"
#include "app/limit_text.h"
#include "base/decimal_number.h"
#include "linefiles/line_file.h"
#include "passlines/compute_pass_lines.h"
#include "passlines/separation_move.h"
#include "platform/files.h"

namespace kelvane {

namespace {

// Which folder it is, and each line file's size and time of last change, as far as they can
// be learnt.
std::string Stamp(const Folder& folder) {
  FileFacts held;
  Ignore(folder.Facts(held));
  std::string stamp = std::to_string(held.volume) + ":" + std::to_string(held.file) + ";";
  for (const std::string_view name : kLineNames) {
    FileFacts facts;
    try {
      facts = FactsAt(folder, FollowLinksInFolder(folder, name));
    } catch (...) {
      Ignore(folder.Stat(name, facts));  // the read says what is wrong
    }
    stamp += std::to_string(facts.size) + " " + std::to_string(facts.modified) + ";";
  }
  return stamp;
}

// A time as people read it where they are: "2026-12-07 17:02".
std::string LocalTime(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&time);
  char text[32];
  return local != nullptr && std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local) > 0
             ? text
             : "at an unknown time";
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
  return text + " m the limit holds " + std::string(kShortLineNames[3]) + " on " +
         std::to_string(held[0]) + " of " + std::to_string(race.size()) + " rows and " +
         std::string(kShortLineNames[4]) + " on " + std::to_string(held[1]) + ".";
}

}  // namespace

std::string PreviewDescription(const PreviewLines& lines) {
  std::string text;
  for (const std::string* part : {&lines.summary, &lines.what_go_does, &lines.problem}) {
    if (!part->empty()) text += (text.empty() ? "" : " ") + *part;
  }
  return text;
}

bool PreviewSource::Refresh(const HeldFolder& folder) {
  const Folder* held = folder.Opened();
  std::string stamp = held ? Stamp(*held) : "";
  if (folder.path() == folder_ && stamp == stamp_ && (inputs_ || !problem_.empty())) return false;
  folder_ = folder.path();
  stamp_ = std::move(stamp);
  inputs_.reset();
  problem_.clear();
  if (folder.path().empty()) {
    problem_ = kNoFolderText;
    return true;
  }
  try {
    inputs_ = ReadPassInputs(folder.Get());  // Get throws, saying why it cannot be opened
    ReadOnDisk(*held);
  } catch (...) {
    problem_ = ReportCaught().text;
  }
  return true;
}

// Each pass line on disk, read as an input is; one that cannot be read never stops Go.
void PreviewSource::ReadOnDisk(const Folder& folder) {
  std::array<std::string, 2> verbs, notes;
  LineFileReader reader;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const std::string_view name = kLineNames[kInputCount + pass];
    on_disk_[pass].clear();
    verbs[pass] = "replaces ";
    try {
      const FileFacts facts = FactsAt(folder, FollowLinksInFolder(folder, name));
      if (!facts.exists) {
        verbs[pass] = "writes ";
        continue;
      }
      on_disk_[pass] = Separations(reader.Read(folder, name));
      notes[pass] = " (written " + LocalTime(facts.modified) + ")";
    } catch (...) {
      notes[pass] = ", which on disk cannot be read: " + ReportCaught().text + ",";
    }
  }
  what_go_does_ = "Go " + verbs[0] + std::string(kLineNames[3]) + notes[0] + " and " +
                  (verbs[1] == verbs[0] ? "" : verbs[1]) + std::string(kLineNames[4]) + notes[1];
  if (what_go_does_.back() == ',') what_go_does_.pop_back();
  what_go_does_ += ".";
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
    lines.separations[3] = Separations(MakePassLine(race, max_race, limit.meters, kLineNames[3]));
    lines.separations[4] = Separations(MakePassLine(race, min_race, limit.meters, kLineNames[4]));
  } catch (...) {
    lines.separations[3].clear();
    lines.problem = ReportCaught().text;
    return lines;
  }
  lines.limit = limit.meters;
  lines.summary = HeldSummary(lines.separations, limit.meters);
  lines.on_disk = on_disk_;
  lines.what_go_does = what_go_does_;
  return lines;
}

}  // namespace kelvane
