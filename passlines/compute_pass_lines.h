#ifndef KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
#define KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_

#include <array>
#include <filesystem>
#include <string_view>
#include <vector>

#include "linefiles/line_grid.h"
#include "replace/replace_files.h"

namespace kelvane {

// The inputs, of "Race.txt", "MaxRace.txt" and "MinRace.txt" in that order, that are not in
// the folder `dir`.
std::vector<std::string_view> MissingInputs(const std::filesystem::path& dir);

// The three input lines read from "Race.txt", "MaxRace.txt" and "MinRace.txt" in the folder
// `dir`, in that order. Throws RunError: kFile naming every missing input and the folder,
// kInput when the three counts differ, and the errors of the reads.
std::array<LineGrid, 3> ReadPassInputs(const std::filesystem::path& dir);

// The pass line of `race` toward `companion` (of the same count) written to the file
// `file`: a copy of the race line whose separation in every data row is moved toward the
// companion's with MovedSeparation, whose errors it throws naming `file` and the row.
LineGrid MakePassLine(const LineGrid& race, LineGrid companion, float limit, std::string_view file);

// The whole job, in the folder `dir` with the limit `max_separation` in meters. Reads
// "Race.txt", "MaxRace.txt" and "MinRace.txt"; builds the pass line toward the max line and
// the one toward the min line with MakePassLine; then replaces "Pass1.txt" and "Pass2.txt",
// both or neither, waiting as `wait` says while another run replaces them. Throws the
// errors of ReadPassInputs and MakePassLine before either output is touched, then those of
// WriteLineFile, which leaves both outputs as they were.
void ComputePassLines(const std::filesystem::path& dir, float max_separation,
                      const LockWait& wait = {});

}  // namespace kelvane

#endif  // KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
