#include "app/form1_layout.h"

#include <gtest/gtest.h>

#include <utility>

namespace kelvane {

namespace {

// At any font and resolution, at the window's first size and at its least, the controls keep
// their order down the window without overlapping, all inside it, the prompt as wide as its
// longest word and as tall as its lines; the preview beside them, above the folder line, and
// at the first size as large as it asks to be.
TEST(Form1LayoutTest, ControlsNeitherOverlapNorLeaveTheWindow) {
  for (const int dpi : {96, 144, 192}) {
    for (const int line : {16, 27, 38}) {  // a line of text at 9, 20 and 28 points, at 96 dpi
      SCOPED_TRACE(std::to_string(dpi) + " dpi, lines of " + std::to_string(line));
      const auto wrapped = [line](int width) { return line * (1 + 22 * line / width); };
      const auto preview = [line](int width) {
        return Box{0, 0, std::max(width, 40 * line), 20 * line};
      };
      const TextNeeds needs{5 * line, wrapped, line + 7, line + 10, line, preview};
      const ControlsPlace place = LayOutControls(dpi, needs);
      EXPECT_GE(place.label.width, needs.longest_word);
      EXPECT_GE(place.label.height, wrapped(place.label.width));
      for (const auto& [width, height] : {std::pair{place.least_width, place.least_height},
                                          {place.first_width, place.first_height}}) {
        const RoomPlace room = LayOutRoom(place, dpi, width, height);
        int above = 0;
        for (const Box& box : {place.label, place.text, place.go, room.folder_line}) {
          EXPECT_LE(above, box.top);
          EXPECT_LE(box.top + box.height, height);
          EXPECT_LE(box.left + box.width, box.top == room.folder_line.top ? width : place.column);
          above = box.top + box.height;
        }
        EXPECT_GE(room.preview.left, place.column);
        EXPECT_GT(room.preview.width, 0);
        EXPECT_LT(room.preview.top + room.preview.height, room.folder_line.top);
      }
      const RoomPlace first = LayOutRoom(place, dpi, place.first_width, place.first_height);
      EXPECT_GE(first.preview.width, 40 * line);
      EXPECT_GE(first.preview.height, 20 * line);
    }
  }
}

}  // namespace
}  // namespace kelvane
