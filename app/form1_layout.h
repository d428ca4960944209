#ifndef KELVANE_APP_FORM1_LAYOUT_H_
#define KELVANE_APP_FORM1_LAYOUT_H_

#include <functional>
#include <string_view>

#include "app/box.h"

namespace kelvane {

// What both windows show and where, with no toolkit: texts in UTF-8, places in twips
// (1/1440 inch), turned into pixels at the window's resolution.

inline constexpr std::string_view kCaption = "Kelvane";
inline constexpr std::string_view kPrompt = "Enter Maximum Pass Line Separation In Meters";
// The controls' texts as laid out, before Form_load sets the prompt and the limit.
inline constexpr std::string_view kLabel1Text = "Label1";
inline constexpr std::string_view kText1Text = "Text1";
inline constexpr std::string_view kBtnGoText = "Go";

inline constexpr int kClientWidthTwips = 4728;
inline constexpr int kClientHeightTwips = 2772;
inline constexpr Box kLabel1Twips{1500, 300, 1692, 852};
inline constexpr Box kText1Twips{1560, 1380, 1512, 372};
inline constexpr Box kBtnGoTwips{1920, 2040, 852, 372};
// The line under the controls: the folder Go works in, or what a run waits for. It keeps
// its distance from the window's bottom and spans the window's width, less its margins.
inline constexpr Box kFolderLineTwips{120, 2436, 4488, 312};
inline constexpr int kFolderLineBottomTwips =
    kClientHeightTwips - kFolderLineTwips.top - kFolderLineTwips.height;

// The window as it opens, the preview beside the controls taking what room it leaves: from
// the controls' right edge to the margin, from the margin down to half a margin above the
// folder line. The window shrinks to no less than the controls and a small preview.
inline constexpr int kWindowWidthTwips = 11928;
inline constexpr int kWindowHeightTwips = 4320;
inline constexpr int kMinPreviewWidthTwips = 2880;
inline constexpr int kMarginTwips = kFolderLineTwips.left;

// `twips` in pixels at `dpi` dots per inch, rounded to the nearest.
constexpr int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// What the controls' texts need at the window's font, in pixels.
struct TextNeeds {
  int longest_word;                            // the prompt's widest word
  std::function<int(int width)> label_height;  // the prompt's height, wrapped at `width`
  int text_height;                             // the limit's box
  int go_height;                               // the Go button
  int line_height;                             // the folder line
  std::function<Box(int width)> preview;       // the preview's first size, `width` offered
};

// Where the controls go at `dpi` in the client area, and the sizes that follow from it.
struct ControlsPlace {
  Box label, text, go;
  int column;                     // the controls' column's width: where the preview begins
  int line_height;                // the folder line's
  int least_width, least_height;  // the window's least client size
  int first_width, first_height;  // its client size as it opens
};

// The controls at their twips, except where their texts need more at this font: the prompt
// as wide as its longest word, the column and the window as much wider; a control that
// needs more height grows downward, moving what is under it down, the window as much
// taller. The window opens as large again as the preview's first size needs.
ControlsPlace LayOutControls(int dpi, const TextNeeds& needs);

// The folder line and the preview in a client area of `width` by `height` pixels: the line
// keeps its distance from the bottom across the width, less the margins; the preview takes
// the room beside the controls, from the margin down to half a margin above the line.
struct RoomPlace {
  Box folder_line, preview;
};
RoomPlace LayOutRoom(const ControlsPlace& place, int dpi, int width, int height);

}  // namespace kelvane

#endif  // KELVANE_APP_FORM1_LAYOUT_H_
