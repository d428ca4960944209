#include "passlines/compute_pass_lines.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "base/run_error.h"
#include "linefiles/line_file.h"
#include "passlines/separation_move.h"
#include "platform/files.h"

namespace {

constexpr std::array<std::string_view, 3> kInputs = {"Race.txt", "MaxRace.txt", "MinRace.txt"};
constexpr int kSeparationColumn = 2;

void RequireInputs(const std::filesystem::path& dir) {
  std::string missing;
  for (const std::string_view name : kInputs) {
    if (FileExists(dir / name)) continue;
    if (!missing.empty()) missing += ", ";
    missing += name;
  }
  if (missing.empty()) return;
  throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(dir)},
                 "missing input file(s): " + missing);
}

void RequireEqualCounts(const std::array<const LineGrid*, 3>& grids) {
  const int count = grids[0]->count();
  if (grids[1]->count() == count && grids[2]->count() == count) return;
  std::string detail = "the counts differ:";
  for (std::size_t i = 0; i < kInputs.size(); ++i) {
    detail += i == 0 ? " " : ", ";
    detail += kInputs[i];
    detail += " has " + std::to_string(grids[i]->count());
  }
  throw RunError(ErrorKind::kInput, detail + "; all three must be equal");
}

// `race` with the separation of every data row moved toward `companion`'s. The race line
// comes by value, so that the last pass line can take the race line's own memory.
LineGrid PassLine(LineGrid race, const LineGrid& companion, float limit, std::string_view file) {
  for (int row = LineGrid::kHeaderRows + 1; row <= race.last_row(); ++row) {
    float& separation = race.at(row, kSeparationColumn);
    separation = MovedSeparation(separation, companion.at(row, kSeparationColumn), limit,
                                 ErrorPlace{file, row});
  }
  return race;
}

}  // namespace

void ComputePassLines(const std::filesystem::path& dir, float max_separation) {
  RequireInputs(dir);
  LineGrid RaceGrid = ReadLineFile(dir, kInputs[0]);
  const LineGrid MaxRaceGrid = ReadLineFile(dir, kInputs[1]);
  const LineGrid MinRaceGrid = ReadLineFile(dir, kInputs[2]);
  RequireEqualCounts({&RaceGrid, &MaxRaceGrid, &MinRaceGrid});

  const LineGrid Pass1Grid = PassLine(RaceGrid, MaxRaceGrid, max_separation, "Pass1.txt");
  const LineGrid Pass2Grid =
      PassLine(std::move(RaceGrid), MinRaceGrid, max_separation, "Pass2.txt");
  const NamedLine outputs[] = {{"Pass1.txt", Pass1Grid}, {"Pass2.txt", Pass2Grid}};
  WriteLineFile(dir, outputs);
}
