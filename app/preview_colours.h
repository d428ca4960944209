#ifndef KELVANE_APP_PREVIEW_COLOURS_H_
#define KELVANE_APP_PREVIEW_COLOURS_H_

#include <array>
#include <cstdint>

namespace kelvane {

// The colours of the five lines, as 0xRRGGBB, on a plot of the colour `background`: shades
// of Okabe and Ito's palette (told apart with the commonest kinds of colour blindness), each
// pass line of its companion's hue, and every line at least 3:1 against a light or a dark
// background (WCAG 1.4.11). The race line's, first, is the text colour; a window may use
// the toolkit's own.
std::array<std::uint32_t, 5> PreviewColours(std::uint32_t background);

// The band's colour: `text` faintly over `background`.
std::uint32_t BandColour(std::uint32_t background, std::uint32_t text);

// The contrast ratio of two colours, 1 to 21, as WCAG defines it.
double ContrastRatio(std::uint32_t first, std::uint32_t second);

}  // namespace kelvane

#endif  // KELVANE_APP_PREVIEW_COLOURS_H_
