#include "passlines/compute_pass_lines.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_error.h"
#include "linefiles/line_file.h"
#include "passlines/separation_move.h"
#include "platform/files.h"

namespace kelvane {

namespace {

constexpr std::array<std::string_view, 3> kInputs = {"Race.txt", "MaxRace.txt", "MinRace.txt"};
constexpr int kSeparationColumn = 2;

void RequireInputs(const std::filesystem::path& dir) {
  const std::vector<std::string_view> missing = MissingInputs(dir);
  if (missing.empty()) return;
  std::string names;
  for (const std::string_view name : missing) names.append(names.empty() ? "" : ", ").append(name);
  throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(dir)}, "missing input file(s): " + names);
}

void RequireEqualCounts(const std::array<LineGrid, 3>& grids) {
  const int count = grids[0].count();
  if (grids[1].count() == count && grids[2].count() == count) return;
  std::string detail = "the counts differ:";
  for (std::size_t i = 0; i < kInputs.size(); ++i) {
    detail += i == 0 ? " " : ", ";
    detail += kInputs[i];
    detail += " has " + std::to_string(grids[i].count());
  }
  throw RunError(ErrorKind::kInput, detail + "; all three must be equal");
}

}  // namespace

std::vector<std::string_view> MissingInputs(const std::filesystem::path& dir) {
  std::vector<std::string_view> missing;
  for (const std::string_view name : kInputs) {
    if (!FileExists(dir / name)) missing.push_back(name);
  }
  return missing;
}

// Read through one buffer, which is gone before the pass lines are made.
std::array<LineGrid, 3> ReadPassInputs(const std::filesystem::path& dir) {
  RequireInputs(dir);
  LineFileReader reader;
  std::array<LineGrid, 3> grids = {reader.Read(dir, kInputs[0]), reader.Read(dir, kInputs[1]),
                                   reader.Read(dir, kInputs[2])};
  RequireEqualCounts(grids);
  return grids;
}

// Made in the companion's own memory, cell by cell, each companion separation read before
// the race line's cell takes its place.
LineGrid MakePassLine(const LineGrid& race, LineGrid companion, float limit,
                      std::string_view file) {
  for (int row = 1; row <= race.last_row(); ++row) {
    for (int column = 0; column < LineGrid::kColumns; ++column) {
      float& cell = companion.at(row, column);
      const bool moved = row > LineGrid::kHeaderRows && column == kSeparationColumn;
      cell = moved ? MovedSeparation(race.at(row, column), cell, limit, ErrorPlace{file, row})
                   : race.at(row, column);
    }
  }
  return companion;
}

void ComputePassLines(const std::filesystem::path& dir, float max_separation,
                      const LockWait& wait) {
  auto [RaceGrid, MaxRaceGrid, MinRaceGrid] = ReadPassInputs(dir);
  const LineGrid Pass1Grid =
      MakePassLine(RaceGrid, std::move(MaxRaceGrid), max_separation, "Pass1.txt");
  const LineGrid Pass2Grid =
      MakePassLine(RaceGrid, std::move(MinRaceGrid), max_separation, "Pass2.txt");
  const NamedLine outputs[] = {{"Pass1.txt", Pass1Grid}, {"Pass2.txt", Pass2Grid}};
  WriteLineFile(dir, outputs, wait);
}
}  // namespace kelvane
