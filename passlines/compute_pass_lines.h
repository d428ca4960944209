#ifndef KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
#define KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_

#include "passlines/pass_line_fields.h"

// The whole job. Reads "Race.txt", "MaxRace.txt" and "MinRace.txt" from the program
// directory into the race, max and min grids; builds Pass1Grid (toward the max line) and
// Pass2Grid (toward the min line) from the race grid by moving the separation coordinate
// of every data row with MovedSeparation and fields.MaxSeparation; then replaces
// "Pass1.txt" and "Pass2.txt". SharedGrid ends holding Pass2Grid.
// Throws RunError before either output is touched: kFile naming every missing input
// and the directory, kInput when the three counts differ, and the errors of the reads
// and of MovedSeparation. A failure while writing leaves both outputs as they were.
void ComputePassLines(PassLineFields& fields);

// The last step of ComputePassLines: replaces "Pass1.txt" and "Pass2.txt" with
// fields.Pass1Grid and fields.Pass2Grid, both or neither. Throws RunError (kBounds for an
// absent grid, kFile when a file cannot be written), the old files then untouched.
void WritePassLines(const PassLineFields& fields);

#endif  // KELVANE_PASSLINES_COMPUTE_PASS_LINES_H_
