#include "app/form1_layout.h"

#include <algorithm>

namespace kelvane {

namespace {

Box ToPixels(const Box& twips, int dpi) {
  return {TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
          TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi)};
}

}  // namespace

ControlsPlace LayOutControls(int dpi, const TextNeeds& needs) {
  ControlsPlace place{};
  Box label = ToPixels(kLabel1Twips, dpi);
  const int wider = std::max(0, needs.longest_word - label.width);
  label.width += wider;
  int shift = 0;  // how far what comes next moves down
  const auto grow = [&shift](Box box, int needed) {
    box.top += shift;
    const int height = std::max(box.height, needed);
    shift += height - box.height;
    box.height = height;
    return box;
  };
  place.label = grow(label, needs.label_height(label.width));
  place.text = grow(ToPixels(kText1Twips, dpi), needs.text_height);
  place.go = grow(ToPixels(kBtnGoTwips, dpi), needs.go_height);
  place.line_height = std::max(TwipsToPixels(kFolderLineTwips.height, dpi), needs.line_height);
  shift += place.line_height - TwipsToPixels(kFolderLineTwips.height, dpi);
  place.column = TwipsToPixels(kClientWidthTwips, dpi) + wider;
  place.least_width = place.column + TwipsToPixels(kMinPreviewWidthTwips, dpi);
  place.least_height = TwipsToPixels(kClientHeightTwips, dpi) + shift;
  place.first_width = std::max(place.least_width, TwipsToPixels(kWindowWidthTwips, dpi) + wider);
  place.first_height = TwipsToPixels(kWindowHeightTwips, dpi) + shift;
  const int margin = TwipsToPixels(kMarginTwips, dpi);
  const Box preview = needs.preview(place.first_width - place.column - margin);
  place.first_width = std::max(place.first_width, place.column + preview.width + margin);
  place.first_height =
      std::max(place.first_height, preview.height + margin + margin / 2 + place.line_height +
                                       TwipsToPixels(kFolderLineBottomTwips, dpi));
  return place;
}

RoomPlace LayOutRoom(const ControlsPlace& place, int dpi, int width, int height) {
  const int margin = TwipsToPixels(kMarginTwips, dpi);
  const int line_top = height - TwipsToPixels(kFolderLineBottomTwips, dpi) - place.line_height;
  return {{margin, line_top, width - 2 * margin, place.line_height},
          {place.column, margin, width - margin - place.column, line_top - margin - margin / 2}};
}

}  // namespace kelvane
