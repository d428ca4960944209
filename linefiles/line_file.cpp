#include "linefiles/line_file.h"

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
  return ParseLineText(bytes_.view(), name);
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
