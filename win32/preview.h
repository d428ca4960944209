#ifndef KELVANE_WIN32_PREVIEW_H_
#define KELVANE_WIN32_PREVIEW_H_

#include <array>
#include <cstdint>
#include <vector>

#include "app/preview_lines.h"
#include "app/preview_picture.h"
#include "platform/windows_api.h"

namespace kelvane {

// The system's colour `index` (GetSysColor) as 0xRRGGBB.
std::uint32_t SystemRgb(int index);

// The preview of the lines Go will write, a child window stroked as LayOutPreview lays it
// out in the font the parent sets (WM_SETFONT), and in the system's colours when high
// contrast is on. Draws itself into the device context of WM_PRINTCLIENT too. The picture
// is kept drawn while the pointer moves, which redraws only the pointer's layer: the row
// under it read out. The wheel zooms around it, a drag moves along the rows, a double-click
// shows every row again.
class PreviewPlot {
 public:
  PreviewPlot() = default;
  ~PreviewPlot();
  PreviewPlot(const PreviewPlot&) = delete;
  PreviewPlot& operator=(const PreviewPlot&) = delete;

  // Creates the window as the child `id` of `parent`. Returns false when it cannot be.
  bool Create(HWND parent, int id);
  HWND hwnd() const { return hwnd_; }

  // Shows `lines`; every row again when their count changed.
  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }
  const PlotView& view() const { return view_; }
  // The picture and the pointer's layer as last painted.
  const PreviewPicture& picture() const { return picture_; }
  const std::vector<Primitive>& pointer_layer() const { return pointer_layer_; }
  // Its size as the window opens in its font, at least `width` wide (PreviewFirstSize).
  Box FirstSize(int width) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnMouse(UINT message, WPARAM wparam, POINT at);
  // Shows `view`: the whole picture again when its rows differ, else the pointer's layer.
  void Show(const PlotView& view);
  // Paints the part `box` of the client area on `dc`.
  void Paint(HDC dc, const RECT& box);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;  // the parent's, not ours to delete
  PreviewLines lines_;
  PlotView view_;
  int drag_x_ = -1;       // where a drag with the left button last was; -1 for none
  bool tracked_ = false;  // the pointer's leaving is asked for
  PreviewPicture picture_;
  std::vector<Primitive> pointer_layer_;
  HBITMAP drawn_ = nullptr;  // the picture as stroked, without the pointer's layer
  bool stale_ = true;        // drawn_ is not the picture of the lines and the view
  std::array<std::uint32_t, kInkCount> inks_{};  // drawn_'s
};

}  // namespace kelvane

#endif  // KELVANE_WIN32_PREVIEW_H_
