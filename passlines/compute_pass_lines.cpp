#include "passlines/compute_pass_lines.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_error.h"
#include "linefiles/line_file.h"
#include "passlines/separation_move.h"
#include "platform/file_error.h"
#include "platform/files.h"
#include "replace/journal.h"

namespace kelvane {

namespace {

void RequireInputs(const Folder& folder) {
  const std::vector<std::string_view> missing = MissingInputs(folder);
  if (missing.empty()) return;
  std::string names;
  for (const std::string_view name : missing) names.append(names.empty() ? "" : ", ").append(name);
  throw RunError(ErrorKind::kFile, ErrorPlace{DisplayPath(folder.path())},
                 "missing input file(s): " + names);
}

// An input's links lead to none of the names a run makes and removes.
void RequireInputsApart(const Folder& folder) {
  const std::filesystem::path pass_lines[] = {kLineNames[3], kLineNames[4]};
  for (std::size_t in = 0; in < kInputCount; ++in) {
    const std::filesystem::path at = FollowLinksInFolder(folder, kLineNames[in]);
    if (IsRunName(pass_lines, at)) {
      RefuseFile(folder.Show(kLineNames[in]), "is a symbolic link to " + DisplayPath(at) +
                                                  ", a name a run writes itself, so it is not "
                                                  "followed");
    }
  }
}

// A pass line that is another name of an input (a hard link in a tar, or a link to it)
// would overwrite the line it is made from. One reached through a link, or with other
// names, is written only where it holds a line file already: no name leads Go to overwrite
// another file of the user's.
void RequireOwnFiles(const Folder& folder) {
  LineFileReader reader;
  for (std::size_t out = kInputCount; out < kLineNames.size(); ++out) {
    const std::filesystem::path at = FollowLinksInFolder(folder, kLineNames[out]);
    const FileFacts pass = FactsAt(folder, at);
    for (std::size_t in = 0; in < kInputCount; ++in) {
      if (SameFile(pass, FactsAt(folder, FollowLinksInFolder(folder, kLineNames[in])))) {
        RefuseFile(folder.Show(kLineNames[out]), "is the same file as " +
                                                     std::string(kLineNames[in]) +
                                                     "; a pass line must be a file of its own");
      }
    }
    if (!pass.exists || (at == kLineNames[out] && pass.links == 1)) continue;
    try {
      reader.Read(folder, kLineNames[out]);
    } catch (const RunError& error) {
      RefuseFile(folder.Show(kLineNames[out]),
                 (at == kLineNames[out] ? "has other names (hard links)"
                                        : "is a symbolic link to " + DisplayPath(at)) +
                     " and holds no line file, so Go does not write it: " + error.what());
    }
  }
}

void RequireEqualCounts(const std::array<LineGrid, 3>& grids) {
  const int count = grids[0].count();
  if (grids[1].count() == count && grids[2].count() == count) return;
  std::string detail = "the counts differ:";
  for (std::size_t i = 0; i < kInputCount; ++i) {
    detail += i == 0 ? " " : ", ";
    detail += kLineNames[i];
    detail += " has " + std::to_string(grids[i].count());
  }
  throw RunError(ErrorKind::kInput, detail + "; all three must be equal");
}

}  // namespace

std::vector<std::string_view> MissingInputs(const Folder& folder) {
  std::vector<std::string_view> missing;
  for (std::size_t i = 0; i < kInputCount; ++i) {
    FileFacts facts;
    if (folder.Stat(kLineNames[i], facts) || !facts.exists) missing.push_back(kLineNames[i]);
  }
  return missing;
}

std::vector<std::string_view> MissingInputs(const std::filesystem::path& dir) {
  Folder folder;
  if (folder.Open(dir)) return {kLineNames.begin(), kLineNames.begin() + kInputCount};
  return MissingInputs(folder);
}

// Read through one buffer, which is gone before the pass lines are made.
std::array<LineGrid, 3> ReadPassInputs(const Folder& folder, std::vector<int>* row_lines) {
  RequireInputs(folder);
  RequireInputsApart(folder);
  LineFileReader reader;
  std::array<LineGrid, 3> grids = {reader.Read(folder, kLineNames[0]), LineGrid(0), LineGrid(0)};
  if (row_lines != nullptr) *row_lines = reader.row_lines();
  for (std::size_t input = 1; input < grids.size(); ++input) {
    grids[input] = reader.Read(folder, kLineNames[input]);
    if (row_lines != nullptr) KeepSameLines(*row_lines, reader.row_lines());
  }
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
  ComputePassLines(OpenFolder(dir), max_separation, wait);
}

void ComputePassLines(const Folder& folder, float max_separation, const LockWait& wait) {
  auto [RaceGrid, MaxRaceGrid, MinRaceGrid] = ReadPassInputs(folder);
  const LineGrid Pass1Grid =
      MakePassLine(RaceGrid, std::move(MaxRaceGrid), max_separation, kLineNames[3]);
  const LineGrid Pass2Grid =
      MakePassLine(RaceGrid, std::move(MinRaceGrid), max_separation, kLineNames[4]);
  RequireOwnFiles(folder);
  const NamedLine outputs[] = {{kLineNames[3], Pass1Grid}, {kLineNames[4], Pass2Grid}};
  WriteLineFile(folder, outputs, wait);
}
}  // namespace kelvane
