#include "linefiles/line_file.h"

#include <string>
#include <vector>

#include "linefiles/line_text_parser.h"
#include "linefiles/line_text_writer.h"
#include "linefiles/platform.h"

LineGrid ReadLineFile(const std::filesystem::path& dir, std::string_view name) {
  return ParseLineText(ReadWholeFile(dir / name), name);
}

void WriteLineFile(const std::filesystem::path& dir, std::span<const NamedLine> lines) {
  std::vector<const LineGrid*> grids;
  for (const NamedLine& line : lines) grids.push_back(&line.grid);
  const std::vector<std::string> texts = FormatLineTexts(grids);
  std::vector<FileReplacement> files;
  for (std::size_t i = 0; i < lines.size(); ++i) files.push_back({dir / lines[i].name, texts[i]});
  ReplaceFiles(files);
}
