#include "linefiles/line_file.h"

#include <algorithm>
#include <string>
#include <vector>

#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"
#include "platform/files.h"

namespace kelvane {

LineGrid LineFileReader::Read(const Folder& folder, std::string_view name) {
  static const std::string too_large =
      "larger than any line file (at most " + std::to_string(kMaxFileBytes) + ")";
  ReadWholeFile(folder, name, kMaxFileBytes, too_large, bytes_);
  return ParseLineText(bytes_.view(), name, &row_lines_);
}

void KeepSameLines(std::vector<int>& lines, const std::vector<int>& other) {
  lines.resize(std::min(lines.size(), other.size()));
  for (std::size_t row = 0; row < lines.size(); ++row) {
    if (lines[row] != other[row]) lines[row] = 0;
  }
}

void WriteLineFile(const Folder& folder, std::span<const NamedLine> lines, const LockWait& wait) {
  std::vector<const LineGrid*> grids;
  std::vector<FileReplacement> files;
  for (const NamedLine& line : lines) {
    const LineGrid* grid = grids.emplace_back(&line.grid);
    files.push_back({line.name, [grid](const ContentSink& sink) {
                       WriteLineTexts({&grid, 1}, {&sink, 1});
                     }});
  }
  const auto joint = [&grids](std::span<const ContentSink> sinks) { WriteLineTexts(grids, sinks); };
  ReplaceFiles(folder, files, joint, wait);
}
}  // namespace kelvane
