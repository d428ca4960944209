#include "linefiles/line_text_writer.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace {

// The longest shortest text of a single: "-1.1754944e-38".
constexpr std::size_t kMaxValueChars = 15;
constexpr std::size_t kMaxRowChars = LineGrid::kColumns * (kMaxValueChars + 1) + 1;

// Where the text of a cell lies in its line's text.
struct CellText {
  std::uint32_t start = 0;
  std::uint32_t length = 0;
};

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// Formats `grid`. With `before`, a cell of the same bits there is copied from `before_text`,
// found through `cells`; `cells` then records where each cell of the new text lies.
std::string Format(const LineGrid& grid, const LineGrid* before, std::string_view before_text,
                   std::vector<CellText>& cells) {
  std::string out;
  out.reserve(static_cast<std::size_t>(grid.last_row()) * kMaxRowChars);  // pages come on use
  std::vector<CellText> placed(LineGrid::CellIndex(grid.last_row() + 1, 0));
  for (int row = 1; row <= grid.last_row(); ++row) {
    const int columns = row <= LineGrid::kHeaderRows ? 1 : LineGrid::kColumns;
    for (int column = 0; column < columns; ++column) {
      if (column > 0) out += ',';
      const std::size_t start = out.size();
      const std::size_t cell = LineGrid::CellIndex(row, column);
      if (before && SameBits(before->at(row, column), grid.at(row, column))) {
        out.append(before_text.substr(cells[cell].start, cells[cell].length));
      } else {
        char text[kMaxValueChars];
        out.append(text, std::to_chars(text, text + kMaxValueChars, grid.at(row, column)).ptr);
      }
      placed[cell] = {static_cast<std::uint32_t>(start),
                      static_cast<std::uint32_t>(out.size() - start)};
    }
    out += "\r\n";
  }
  cells = std::move(placed);
  return out;
}

}  // namespace

std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids) {
  std::vector<std::string> texts;
  texts.reserve(grids.size());
  std::vector<CellText> cells;
  for (std::size_t i = 0; i < grids.size(); ++i) {
    const LineGrid* before = i > 0 ? grids[i - 1] : nullptr;
    if (before && before->last_row() != grids[i]->last_row()) before = nullptr;
    texts.push_back(Format(*grids[i], before, before ? texts.back() : "", cells));
  }
  return texts;
}
