#ifndef KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
#define KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_

#include <filesystem>

#include "passlines/pass_line_fields.h"

// The whole job, in the folder `dir`. Reads "Race.txt", "MaxRace.txt" and "MinRace.txt"
// into the race, max and min grids; builds Pass1Grid (toward the max line) and Pass2Grid
// (toward the min line) from the race grid by moving the separation coordinate of every
// data row with MovedSeparation and fields.MaxSeparation; then replaces "Pass1.txt" and
// "Pass2.txt", both or neither.
// Throws RunError before either output is touched: kFile naming every missing input and
// the folder, kInput when the three counts differ, and the errors of the reads and of
// MovedSeparation; then the errors of WriteLineFile, which leaves both outputs as they were.
void ComputePassLines(PassLineFields& fields, const std::filesystem::path& dir);

#endif  // KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
