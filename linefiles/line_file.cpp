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
  std::vector<std::string> texts;
  std::vector<FileReplacement> files;
  texts.reserve(lines.size());
  for (const NamedLine& line : lines) {
    texts.push_back(FormatLineText(line.grid));
    files.push_back({dir / line.name, texts.back()});
  }
  ReplaceFiles(files);
}
