#include "linefiles/line_file.h"

#include <string>
#include <vector>

#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"
#include "platform/files.h"

LineGrid ReadLineFile(const std::filesystem::path& dir, std::string_view name) {
  static const std::string too_large =
      "larger than any line file (at most " + std::to_string(kMaxFileBytes) + ")";
  return ParseLineText(ReadWholeFile(dir / name, kMaxFileBytes, too_large), name);
}

void WriteLineFile(const std::filesystem::path& dir, std::span<const NamedLine> lines) {
  std::vector<const LineGrid*> grids;
  for (const NamedLine& line : lines) grids.push_back(&line.grid);
  const std::vector<std::string> texts = FormatLineTexts(grids);
  std::vector<FileReplacement> files;
  for (std::size_t i = 0; i < lines.size(); ++i) files.push_back({dir / lines[i].name, texts[i]});
  ReplaceFiles(files);
}
