#ifndef KELVANE_APP_FORM1_LAYOUT_H_
#define KELVANE_APP_FORM1_LAYOUT_H_

#include <string_view>

namespace kelvane {

// What both windows show and where, with no toolkit: texts in UTF-8, places in twips
// (1/1440 inch), turned into pixels at the window's resolution.

inline constexpr std::string_view kCaption = "Kelvane";
inline constexpr std::string_view kPrompt = "Enter Maximum Pass Line Separation In Meters";
// The controls' texts as laid out, before Form_load sets the prompt and the limit.
inline constexpr std::string_view kLabel1Text = "Label1";
inline constexpr std::string_view kText1Text = "Text1";
inline constexpr std::string_view kBtnGoText = "Go";

struct TwipsBox {
  int left;
  int top;
  int width;
  int height;
};

inline constexpr int kClientWidthTwips = 4728;
inline constexpr int kClientHeightTwips = 2772;
inline constexpr TwipsBox kLabel1Twips{1500, 300, 1692, 852};
inline constexpr TwipsBox kText1Twips{1560, 1380, 1512, 372};
inline constexpr TwipsBox kBtnGoTwips{1920, 2040, 852, 372};
// The line under the controls: the folder Go works in, or what a run waits for. It keeps
// its distance from the window's bottom and spans the window's width, less its margins.
inline constexpr TwipsBox kFolderLineTwips{120, 2436, 4488, 312};
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

}  // namespace kelvane

#endif  // KELVANE_APP_FORM1_LAYOUT_H_
