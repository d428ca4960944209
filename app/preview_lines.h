#ifndef KELVANE_APP_PREVIEW_LINES_H_
#define KELVANE_APP_PREVIEW_LINES_H_

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linefiles/line_grid.h"
#include "passlines/compute_pass_lines.h"

namespace kelvane {

// What the preview shows of a folder at one typed limit.
struct PreviewLines {
  // The separation of each data row, in meters, per line of kLineNames; empty for a line
  // that cannot be shown.
  std::array<std::vector<float>, 5> separations;
  // Why lines are missing, in the words Go would report; "" when all five are there.
  std::string problem;
  // Where the limit holds the pass lines back, when they are shown: "At 4 m the limit
  // holds Pass1 on 96 of 360 rows and Pass2 on 108."
  std::string summary;
};

// The preview's name for assistive technology, and what it says in words: the summary, or
// why lines are missing.
inline constexpr std::string_view kPreviewName = "Preview of the lines Go will write";
std::string PreviewDescription(const PreviewLines& lines);

// The input lines of the folder Go works in, read as Go reads them, and the pass lines Go
// would make of them. Go reads the files itself: nothing here ever reaches an output.
class PreviewSource {
 public:
  // Reads the inputs in `folder` when it is not the folder last read, or when any input's
  // size or time changed since. Returns true when it read them.
  bool Refresh(const std::filesystem::path& folder);

  // The five lines for the limit the user typed: the inputs alone, with the refusal, when
  // Go would refuse the limit or fail on these lines.
  PreviewLines Lines(std::string_view limit_text) const;

 private:
  std::filesystem::path folder_;
  std::string stamp_;  // each input's size and time at the last read
  std::optional<std::array<LineGrid, 3>> inputs_;
  std::string problem_;  // the read's error report
};

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_LINES_H_
