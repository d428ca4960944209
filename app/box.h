#ifndef KELVANE_APP_BOX_H_
#define KELVANE_APP_BOX_H_

namespace kelvane {

// A point and a box in a window's pixels (or, for the controls' design, in twips).
struct Point {
  int x;
  int y;
};

struct Box {
  int left;
  int top;
  int width;
  int height;
  friend bool operator==(const Box&, const Box&) = default;
};

}  // namespace kelvane

#endif  // KELVANE_APP_BOX_H_
