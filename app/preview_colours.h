#ifndef KELVANE_APP_PREVIEW_COLOURS_H_
#define KELVANE_APP_PREVIEW_COLOURS_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvane {

// The roles of the preview's colours.
enum class Ink : std::uint8_t { kBackground, kText, kBand, kRace, kMax, kMin, kPass1, kPass2 };
inline constexpr std::size_t kInkCount = 8;

// The colour of each ink, as 0xRRGGBB, on a plot of the colour `background` with text of
// the colour `text`: the band `text` faintly over the background; the race line in the text
// colour; the others shades of Okabe and Ito's palette (told apart with the commonest kinds
// of colour blindness), each pass line of its companion's hue, and every line at least 3:1
// against a light or a dark background and against the band over it (WCAG 1.4.11).
std::array<std::uint32_t, kInkCount> PreviewInks(std::uint32_t background, std::uint32_t text);

// The contrast ratio of two colours, 1 to 21, as WCAG defines it.
double ContrastRatio(std::uint32_t first, std::uint32_t second);

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_COLOURS_H_
