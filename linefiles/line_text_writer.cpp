#include "linefiles/line_text_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <memory>

namespace kelvane {

namespace {

// The longest shortest text of a single: "-1.1754944e-38".
constexpr std::size_t kMaxValueChars = 15;
constexpr std::size_t kMaxRowChars = LineGrid::kColumns * (kMaxValueChars + 1) + 1;
constexpr std::size_t kBufferChars = std::size_t{1} << 16;

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The text of one line, formed row by row in a buffer that goes to the sink whenever the
// next row might not fit.
class LineTextBuffer {
 public:
  explicit LineTextBuffer(const ContentSink& sink)
      : sink_(sink), buffer_(std::make_unique_for_overwrite<char[]>(kBufferChars)) {}

  // Writes `row` of `grid`; a cell with the same bits as in `before`, whose text for this
  // row `before_text` holds, is copied.
  void Row(const LineGrid& grid, int row, int columns, const LineGrid* before,
           const LineTextBuffer* before_text) {
    if (used_ + kMaxRowChars > kBufferChars) Flush();
    char* at = buffer_.get() + used_;
    for (int column = 0; column < columns; ++column) {
      if (column > 0) *at++ = ',';
      const auto c = static_cast<std::size_t>(column);
      const char* start = at;
      if (before && SameBits(before->at(row, column), grid.at(row, column))) {
        at = std::copy(before_text->cells_[c].begin(), before_text->cells_[c].end(), at);
      } else {
        at = std::to_chars(at, at + kMaxValueChars, grid.at(row, column)).ptr;
      }
      cells_[c] = std::string_view(start, static_cast<std::size_t>(at - start));
    }
    *at++ = '\r';
    *at++ = '\n';
    used_ = static_cast<std::size_t>(at - buffer_.get());
  }

  void Flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

 private:
  std::array<std::string_view, LineGrid::kColumns> cells_;  // each cell's text in the last row
  const ContentSink& sink_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace

void WriteLineTexts(std::span<const LineGrid* const> grids, std::span<const ContentSink> sinks) {
  std::vector<LineTextBuffer> texts;
  texts.reserve(grids.size());
  for (std::size_t i = 0; i < grids.size(); ++i) texts.emplace_back(sinks[i]);
  int last_row = 0;
  for (const LineGrid* grid : grids) last_row = std::max(last_row, grid->last_row());
  for (int row = 1; row <= last_row; ++row) {
    const int columns = row <= LineGrid::kHeaderRows ? 1 : LineGrid::kColumns;
    for (std::size_t i = 0; i < grids.size(); ++i) {
      if (row > grids[i]->last_row()) continue;
      // A grid before this one shares the row only when it has the row too.
      const bool shared = i > 0 && row <= grids[i - 1]->last_row();
      texts[i].Row(*grids[i], row, columns, shared ? grids[i - 1] : nullptr,
                   shared ? &texts[i - 1] : nullptr);
    }
  }
  for (LineTextBuffer& text : texts) text.Flush();
}

std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids) {
  std::vector<std::string> texts(grids.size());
  std::vector<ContentSink> sinks;
  for (std::string& text : texts) {
    sinks.emplace_back([&text](std::string_view piece) { text.append(piece); });
  }
  WriteLineTexts(grids, sinks);
  return texts;
}
}  // namespace kelvane
