#include "passlines/compute_pass_lines.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "linefiles/globals.h"
#include "linefiles/lp_file_reader.h"
#include "linefiles/program_dir.h"
#include "linefiles/run_error.h"
#include "passlines/separation_move.h"

namespace {

constexpr std::array<std::string_view, 3> kInputs = {"Race.txt", "MaxRace.txt", "MinRace.txt"};
constexpr int kSeparationColumn = 2;

[[noreturn]] void FailMissing(const std::vector<std::string_view>& names) {
  std::string list;
  for (const std::string_view name : names) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  const std::string dir = ProgramDir().toStdString();
  throw RunError(ErrorKind::kFile, ErrorPlace{dir, 0}, "missing input file(s): " + list);
}

void RequireInputs() {
  std::vector<std::string_view> missing;
  for (const std::string_view name : kInputs) {
    if (!FileExists(ProgramFilePath(name))) missing.push_back(name);
  }
  if (!missing.empty()) FailMissing(missing);
}

// The grid of the input `name`, with its count in `count`.
LineGrid ReadInput(std::string_view name, std::int16_t& count) {
  if (!ReadLineFile(name)) FailMissing({name});
  count = SharedCount;
  return *SharedGrid;
}

void RequireEqualCounts(const std::array<std::int16_t, 3>& counts) {
  if (counts[0] == counts[1] && counts[1] == counts[2]) return;
  std::string detail = "the counts differ:";
  for (std::size_t i = 0; i < kInputs.size(); ++i) {
    detail += (i == 0 ? " " : ", ") + std::string(kInputs[i]) + " has " + std::to_string(counts[i]);
  }
  throw RunError(ErrorKind::kInput, detail + "; all three must be equal");
}

LineGrid PassLine(const LineGrid& race, const LineGrid& companion, float limit,
                  std::string_view file) {
  LineGrid pass = race;
  const int last_row = SharedCount + LineGrid::kHeaderRows;
  for (int row = LineGrid::kHeaderRows + 1; row <= last_row; ++row) {
    pass.at(row, kSeparationColumn) =
        MovedSeparation(race.at(row, kSeparationColumn), companion.at(row, kSeparationColumn),
                        limit, ErrorPlace{file, row});
  }
  return pass;
}

}  // namespace

void ComputePassLines(PassLineFields& fields) {
  RequireInputs();
  std::array<std::int16_t, 3> counts{};
  fields.RaceGrid = ReadInput(kInputs[0], counts[0]);
  fields.MaxRaceGrid = ReadInput(kInputs[1], counts[1]);
  fields.MinRaceGrid = ReadInput(kInputs[2], counts[2]);
  RequireEqualCounts(counts);

  const float limit = fields.MaxSeparation;
  fields.Pass1Grid = PassLine(*fields.RaceGrid, *fields.MaxRaceGrid, limit, "Pass1.txt");
  fields.Pass2Grid = PassLine(*fields.RaceGrid, *fields.MinRaceGrid, limit, "Pass2.txt");

  WritePassLines(fields);
}

void WritePassLines(const PassLineFields& fields) {
  SharedGrid = fields.Pass1Grid;
  StagedLineFile pass1 = StageLineFile("Pass1.txt");
  SharedGrid = fields.Pass2Grid;
  StagedLineFile pass2 = StageLineFile("Pass2.txt");
  CommitPair(pass1, pass2);
}
