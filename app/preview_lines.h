#ifndef KELVANE_APP_PREVIEW_LINES_H_
#define KELVANE_APP_PREVIEW_LINES_H_

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/held_folder.h"
#include "linefiles/line_grid.h"
#include "passlines/compute_pass_lines.h"
#include "platform/folder.h"

namespace kelvane {

// What the preview shows of a folder at one typed limit.
struct PreviewLines {
  // The separation of each data row, in meters, per line of kLineNames; empty for a line
  // that cannot be shown.
  std::array<std::vector<float>, 5> separations;
  // The line of the files each data row begins on, in all of them; 0 where they differ.
  std::vector<int> row_lines;
  // The limit the pass lines are made with, in meters; below 0 when they are not shown.
  float limit = -1;
  // Why lines are missing, in the words Go would report; "" when all five are there.
  std::string problem;
  // Where the limit holds the pass lines back, when they are shown, and from which limit
  // it holds nothing back, by Go's own rule: "At 4 m the limit holds Pass1 on 96 of 360
  // rows and Pass2 on 108; from 5.87 m it holds nothing back (Pass1 from 5.7 m, Pass2
  // from 5.87 m)."
  std::string summary;
  // The pass lines on disk now, which Go replaces; empty for one that is not there or
  // cannot be read.
  std::array<std::vector<float>, 2> on_disk;
  // What Go does to them, each against what Go writes: "Go replaces Pass1.txt (written
  // 2026-12-07 17:02), which differs on 1 row, and Pass2.txt (written ...), which is as Go
  // writes it.", "Go writes Pass1.txt and Pass2.txt.", and for one that cannot be read
  // "..., which on disk cannot be read: <report>."; without the counts while the pass
  // lines are not shown; "" when the inputs are not.
  std::string what_go_does;
  // PreviewDescription as long as it can grow while the limit is typed: with the widest
  // numbers, and with each refusal. The preview keeps room for the longest in characters, so
  // that typing moves nothing.
  std::vector<std::string> moulds;
};

// `metres` to the nearest millimetre, with no trailing zero: "5.247", "-0.892", "9.3", "0".
std::string Millimetres(double metres);

// As many eights as `number` has digits: as wide as any number up to it, in most fonts.
std::string Eights(std::size_t number);

// The preview's name for assistive technology, and what it says in words: the summary or
// why lines are missing, then what Go does.
inline constexpr std::string_view kPreviewName = "Preview of the lines Go will write";
std::string PreviewDescription(const PreviewLines& lines);

// Lines whose texts can grow as long as any folder's: rows numbered with as many digits
// as LineGrid::kMaxCount, both pass lines on disk; for room to be made for them.
PreviewLines LongestLines();

// The input lines of the folder Go works in, read as Go reads them, and the pass lines Go
// would make of them. Go reads the files itself: nothing here ever reaches an output.
class PreviewSource {
 public:
  // Reads the inputs and the pass lines on disk in `folder`, the very one Go works in, as Go
  // reads inputs, when it is not the folder last read, or when any of the five files' size
  // or time changed since. Returns true when it read them.
  bool Refresh(const HeldFolder& folder);

  // The five lines for the limit the user typed: the inputs alone, with the refusal, when
  // Go would refuse the limit or fail on these lines.
  PreviewLines Lines(std::string_view limit_text) const;

 private:
  void ReadOnDisk(const Folder& folder);

  std::filesystem::path folder_;
  std::string stamp_;  // each input's size and time at the last read
  std::optional<std::array<LineGrid, 3>> inputs_;
  std::vector<int> row_lines_;  // PreviewLines::row_lines
  std::string problem_;         // the read's error report
  std::array<std::vector<float>, 2> on_disk_;
  // Each pass line on disk: "" where there is none, " (written <time>)", or ", which on disk
  // cannot be read: <report>".
  std::array<std::string, 2> disk_notes_;
};

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_LINES_H_
