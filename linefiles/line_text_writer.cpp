#include "linefiles/line_text_writer.h"

#include <array>
#include <charconv>

namespace {

// The longest shortest text of a single: "-1.1754944e-38".
constexpr std::size_t kMaxValueChars = 15;
constexpr std::size_t kMaxRowChars = LineGrid::kColumns * (kMaxValueChars + 1) + 1;

// The text of a line, formed row by row in a buffer that goes to the sink whenever the
// next row might not fit.
class LineTextBuffer {
 public:
  explicit LineTextBuffer(const std::function<void(std::string_view)>& sink) : sink_(sink) {}
  LineTextBuffer(const LineTextBuffer&) = delete;
  LineTextBuffer& operator=(const LineTextBuffer&) = delete;

  void Row(const LineGrid& grid, int row, int columns) {
    if (used_ + kMaxRowChars > buffer_.size()) Flush();
    char* at = buffer_.data() + used_;
    for (int column = 0; column < columns; ++column) {
      if (column > 0) *at++ = ',';
      at = std::to_chars(at, at + kMaxValueChars, grid.at(row, column)).ptr;
    }
    *at++ = '\r';
    *at++ = '\n';
    used_ = static_cast<std::size_t>(at - buffer_.data());
  }

  void Flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.data(), used_));
    used_ = 0;
  }

 private:
  const std::function<void(std::string_view)>& sink_;
  std::array<char, std::size_t{1} << 16> buffer_;  // not cleared: written before it is read
  std::size_t used_ = 0;
};

}  // namespace

void WriteLineText(const LineGrid& grid, const std::function<void(std::string_view)>& sink) {
  LineTextBuffer text(sink);
  for (int row = 1; row <= grid.last_row(); ++row) {
    text.Row(grid, row, row <= LineGrid::kHeaderRows ? 1 : LineGrid::kColumns);
  }
  text.Flush();
}

std::vector<std::string> FormatLineTexts(std::span<const LineGrid* const> grids) {
  std::vector<std::string> texts;
  for (const LineGrid* grid : grids) {
    std::string& text = texts.emplace_back();
    WriteLineText(*grid, [&text](std::string_view piece) { text.append(piece); });
  }
  return texts;
}
