#include "app/preview_colours.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelvane {

namespace {

// WCAG's relative luminance of a colour 0xRRGGBB.
double Luminance(std::uint32_t rgb) {
  double luminance = 0;
  for (const auto& [shift, weight] : {std::pair{16, 0.2126}, {8, 0.7152}, {0, 0.0722}}) {
    const double channel = ((rgb >> shift) & 0xFF) / 255.0;
    luminance +=
        weight * (channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4));
  }
  return luminance;
}

// `text` faintly over `background`.
std::uint32_t BandColour(std::uint32_t background, std::uint32_t text) {
  std::uint32_t blend = 0;
  for (const int shift : {16, 8, 0}) {
    const auto over = [&](std::uint32_t rgb) { return static_cast<int>((rgb >> shift) & 0xFF); };
    blend |= static_cast<std::uint32_t>((over(background) * 7 + over(text)) / 8) << shift;
  }
  return blend;
}

}  // namespace

double ContrastRatio(std::uint32_t first, std::uint32_t second) {
  const double one = Luminance(first), other = Luminance(second);
  return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

std::array<std::uint32_t, kInkCount> PreviewInks(std::uint32_t background, std::uint32_t text) {
  constexpr std::array<std::uint32_t, 4> kOnLight = {0xA86500, 0x2A7BAD, 0xC24E00, 0x00508A};
  constexpr std::array<std::uint32_t, 4> kOnDark = {0xE69F00, 0x56B4E9, 0xF17D48, 0x5CA4D5};
  const auto& lines = ContrastRatio(background, 0x000000) > ContrastRatio(background, 0xFFFFFF)
                          ? kOnLight
                          : kOnDark;
  return {background, text,    BandColour(background, text), text, lines[0], lines[1],
          lines[2],   lines[3]};
}

}  // namespace kelvane
