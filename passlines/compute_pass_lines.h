#ifndef KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
#define KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_

#include <filesystem>
#include <string_view>
#include <vector>

#include "replace/replace_files.h"

namespace kelvane {

// The inputs, of "Race.txt", "MaxRace.txt" and "MinRace.txt" in that order, that are not in
// the folder `dir`.
std::vector<std::string_view> MissingInputs(const std::filesystem::path& dir);

// The whole job, in the folder `dir` with the limit `max_separation` in meters. Reads
// "Race.txt", "MaxRace.txt" and "MinRace.txt"; builds the pass line toward the max line and
// the one toward the min line from the race line by moving the separation coordinate of
// every data row with MovedSeparation; then replaces "Pass1.txt" and "Pass2.txt", both or
// neither, waiting as `wait` says while another run replaces them.
// Throws RunError before either output is touched: kFile naming every missing input and
// the folder, kInput when the three counts differ, and the errors of the reads and of
// MovedSeparation; then the errors of WriteLineFile, which leaves both outputs as they were.
void ComputePassLines(const std::filesystem::path& dir, float max_separation,
                      const LockWait& wait = {});

}  // namespace kelvane

#endif  // KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
