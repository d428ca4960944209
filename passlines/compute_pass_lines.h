#ifndef KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
#define KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_

#include <array>
#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "linefiles/line_grid.h"
#include "platform/folder.h"
#include "replace/replace_files.h"

namespace kelvane {

// The five files of a folder of lines: the race line, its two companions, then the pass
// lines toward the max line and toward the min line.
inline constexpr std::array<std::string_view, 5> kLineNames = {
    "Race.txt", "MaxRace.txt", "MinRace.txt", "Pass1.txt", "Pass2.txt"};
// Their names where a text is short of room.
inline constexpr std::array<std::string_view, 5> kShortLineNames = {"race", "max", "min", "Pass1",
                                                                    "Pass2"};
inline constexpr std::size_t kInputCount = 3;
// The column of a line that a pass line moves: the separation, in meters.
inline constexpr int kSeparationColumn = 2;

// The inputs, of "Race.txt", "MaxRace.txt" and "MinRace.txt" in that order, that are not in
// `folder`, or in the folder at `dir` (all three where it cannot be opened).
std::vector<std::string_view> MissingInputs(const Folder& folder);
std::vector<std::string_view> MissingInputs(const std::filesystem::path& dir);

// The three input lines read from "Race.txt", "MaxRace.txt" and "MinRace.txt" in `folder`,
// in that order. Throws RunError: kFile naming every missing input and the folder, kInput
// when the three counts differ, and the errors of the reads. Where `row_lines` is given, it
// receives the line each data row begins on in all three (KeepSameLines).
std::array<LineGrid, 3> ReadPassInputs(const Folder& folder, std::vector<int>* row_lines = nullptr);

// The pass line of `race` toward `companion` (of the same count) written to the file
// `file`: a copy of the race line whose separation in every data row is moved toward the
// companion's with MovedSeparation, whose errors it throws naming `file` and the row.
LineGrid MakePassLine(const LineGrid& race, LineGrid companion, float limit, std::string_view file);

// The whole job, in the folder at `dir`, held open from the start to the end, with the
// limit `max_separation` in meters. Reads "Race.txt", "MaxRace.txt" and "MinRace.txt";
// builds the pass line toward the max line and the one toward the min line with
// MakePassLine; then replaces "Pass1.txt" and "Pass2.txt", both or neither, waiting as
// `wait` says while another run replaces them. Throws the errors of OpenFolder,
// ReadPassInputs and MakePassLine, and refuses a pass line that is the same file as an
// input, before either output is touched; then those of WriteLineFile, which leaves both
// outputs as they were.
void ComputePassLines(const std::filesystem::path& dir, float max_separation,
                      const LockWait& wait = {});
// The whole job as above, in `folder`, held open by the caller.
void ComputePassLines(const Folder& folder, float max_separation, const LockWait& wait = {});

}  // namespace kelvane

#endif  // KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
