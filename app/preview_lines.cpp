#include "app/preview_lines.h"

#include <algorithm>
#include <cmath>
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

// The least limit, to the millimetre as the limit's box reads it, that holds nothing back
// where the farthest midpoint lies `reach` away.
std::string FreeFrom(float reach) {
  const double from = std::floor(double{reach} * 1000) / 1000;
  for (const double step : {0.0, 0.001, 0.002}) {  // the box's rounding to single precision
    const std::string text = Millimetres(from + step);
    if (ReadLimitText(text).meters >= reach) return text;
  }
  std::string text;
  AppendDecimal(text, reach);
  return text;
}

// How far each pass line's midpoints lie from the race line at the farthest.
std::array<float, 2> Reach(const std::array<std::vector<float>, 5>& lines) {
  std::array<float, 2> reach{};
  for (std::size_t row = 0; row < lines[0].size(); ++row) {
    for (std::size_t pass = 0; pass < 2; ++pass) {
      reach[pass] = std::max(reach[pass], MidpointDistance(lines[0][row], lines[1 + pass][row]));
    }
  }
  return reach;
}

// "At <limit> m the limit holds Pass1 on <n> of <rows> rows and Pass2 on <m>; from <a> m it
// holds nothing back (Pass1 from <b> m, Pass2 from <a> m)."
std::string HeldSummary(std::string_view limit, const std::array<std::string, 2>& held,
                        std::size_t rows, std::array<float, 2> reach) {
  return "At " + std::string(limit) + " m the limit holds " + std::string(kShortLineNames[3]) +
         " on " + held[0] + " of " + std::to_string(rows) + " rows and " +
         std::string(kShortLineNames[4]) + " on " + held[1] + "; from " +
         FreeFrom(std::max(reach[0], reach[1])) + " m it holds nothing back (" +
         std::string(kShortLineNames[3]) + " from " + FreeFrom(reach[0]) + " m, " +
         std::string(kShortLineNames[4]) + " from " + FreeFrom(reach[1]) + " m).";
}

// How many rows of `fresh`, the pass line Go writes, differ on `disk`; rows only one has
// count too.
std::size_t Differences(const std::vector<float>& disk, const std::vector<float>& fresh) {
  std::size_t count = 0;
  for (std::size_t row = 0; row < std::max(disk.size(), fresh.size()); ++row) {
    count += row >= disk.size() || row >= fresh.size() || disk[row] != fresh[row] ? 1 : 0;
  }
  return count;
}

// ", which differs on <n> rows", where `count` is its text.
std::string DiffersOn(const std::string& count) {
  if (count == "0") return ", which is as Go writes it";
  return ", which differs on " + count + (count == "1" ? " row" : " rows");
}

// "Go replaces Pass1.txt (written <time>), which differs on <n> rows, and writes Pass2.txt.",
// where `notes` are each pass line's note on disk (PreviewSource::disk_notes_) and `counts` each
// pass line's count of differing rows, "" for none said.
std::string WhatGoDoes(const std::array<std::string, 2>& notes,
                       const std::array<std::string, 2>& counts) {
  std::array<std::string, 2> parts;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const bool there = !notes[pass].empty();
    if (pass == 0 || there != !notes[0].empty()) parts[pass] = there ? "replaces " : "writes ";
    parts[pass] += std::string(kLineNames[kInputCount + pass]) + notes[pass];
    if (notes[pass].starts_with(" (") && !counts[pass].empty()) {
      parts[pass] += DiffersOn(counts[pass]);
    }
  }
  const bool clause = parts[0].find(", which") != std::string::npos;
  return "Go " + parts[0] + (clause ? "," : "") + " and " + parts[1] + ".";
}

// The texts of PreviewDescription as long as they can grow while the limit is typed, for
// `rows` rows whose midpoints reach as far as `reach`, the pass lines on disk as `notes` say.
std::vector<std::string> Moulds(std::size_t rows, std::array<float, 2> reach,
                                const std::array<std::string, 2>& notes) {
  const std::string eights = Eights(rows);
  std::string refused = " ";
  refused.append(WhatGoDoes(notes, {}));
  std::vector<std::string> moulds = {HeldSummary("8888.888", {eights, eights}, rows, reach) + " " +
                                     WhatGoDoes(notes, {eights, eights})};
  for (const LimitProblem problem : {LimitProblem::kNotANumber, LimitProblem::kDecimalComma,
                                     LimitProblem::kNegative, LimitProblem::kTooLarge}) {
    moulds.push_back(std::string(RefusalMessage(problem)) + refused);
  }
  return moulds;
}

}  // namespace

std::string Millimetres(double metres) {
  if (!(std::fabs(metres) < 1e12)) return std::to_string(metres);  // beyond any track
  const long long millimetres = std::llround(metres * 1000);
  const long long whole = std::llabs(millimetres) / 1000, part = std::llabs(millimetres) % 1000;
  std::string text = millimetres < 0 ? "-" : "";
  text.append(std::to_string(whole));
  if (part == 0) return text;
  text.append(".").append(std::to_string(1000 + part), 1);
  return text.substr(0, text.find_last_not_of('0') + 1);
}

std::string Eights(std::size_t number) { return std::string(std::to_string(number).size(), '8'); }

std::string PreviewDescription(const PreviewLines& lines) {
  const std::string& first = lines.problem.empty() ? lines.summary : lines.problem;
  return lines.what_go_does.empty() ? first : first + " " + lines.what_go_does;
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
    problem_ = kNoFolderText;  // a click on the preview chooses one too
    return true;
  }
  try {
    inputs_ = ReadPassInputs(folder.Get(), &row_lines_);  // Get throws, saying why not
    ReadOnDisk(*held);
  } catch (...) {
    problem_ = ReportCaught().text;
  }
  return true;
}

// Each pass line on disk, read as an input is; one that cannot be read never stops Go.
void PreviewSource::ReadOnDisk(const Folder& folder) {
  LineFileReader reader;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const std::string_view name = kLineNames[kInputCount + pass];
    on_disk_[pass].clear();
    disk_notes_[pass].clear();
    try {
      const FileFacts facts = FactsAt(folder, FollowLinksInFolder(folder, name));
      if (!facts.exists) continue;
      on_disk_[pass] = Separations(reader.Read(folder, name));
      KeepSameLines(row_lines_, reader.row_lines());
      disk_notes_[pass] = " (written " + LocalTime(facts.modified) + ")";
    } catch (...) {
      disk_notes_[pass] = ", which on disk cannot be read: " + ReportCaught().text;
    }
  }
}

PreviewLines PreviewSource::Lines(std::string_view limit_text) const {
  PreviewLines lines;
  if (!inputs_) {
    lines.problem = problem_;
    return lines;
  }
  const auto& [race, max_race, min_race] = *inputs_;
  lines.separations = {Separations(race), Separations(max_race), Separations(min_race)};
  lines.row_lines = row_lines_;
  const std::size_t rows = lines.separations[0].size();
  const std::array<float, 2> reach = Reach(lines.separations);
  lines.moulds = Moulds(rows, reach, disk_notes_);
  lines.what_go_does = WhatGoDoes(disk_notes_, {});
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
  std::array<std::string, 2> held, counts;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    std::size_t count = 0;
    for (std::size_t row = 0; row < rows; ++row) {
      count +=
          HeldByLimit(lines.separations[0][row], lines.separations[1 + pass][row], limit.meters)
              ? 1
              : 0;
    }
    held[pass] = std::to_string(count);
    counts[pass] = std::to_string(Differences(on_disk_[pass], lines.separations[3 + pass]));
  }
  std::string at;
  AppendDecimal(at, limit.meters);
  lines.summary = HeldSummary(at, held, rows, reach);
  lines.on_disk = on_disk_;
  lines.what_go_does = WhatGoDoes(disk_notes_, counts);
  return lines;
}

PreviewLines LongestLines() {
  PreviewLines lines;
  // Two rows of the widest values; the race line as many as LineGrid::kMaxCount has digits.
  const std::size_t rows = 10000;
  lines.separations.fill({-88.888F, 88.888F});
  lines.on_disk.fill({-88.888F, 88.888F});
  lines.separations[0].resize(rows);
  const std::string written = " (written 8888-88-88 88:88)";
  lines.moulds = Moulds(rows, {8888.888F, 8888.888F}, {written, written});
  return lines;
}

}  // namespace kelvane
