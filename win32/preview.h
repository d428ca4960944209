#ifndef KELVANE_WIN32_PREVIEW_H_
#define KELVANE_WIN32_PREVIEW_H_

#include <string>

#include "app/preview_lines.h"
#include "app/preview_plot.h"
#include "platform/windows_api.h"

namespace kelvane {

// The preview of the lines Go will write, a child window drawn as DrawPreview lays it out
// in the font the parent sets (WM_SETFONT) and the system's colours when high contrast is
// on. Draws itself into the device context of WM_PRINTCLIENT too. The pointer reads out
// the row under it; the wheel zooms around it, a drag moves along the rows, a double-click
// shows every row again.
class PreviewPlot {
 public:
  PreviewPlot() = default;
  PreviewPlot(const PreviewPlot&) = delete;
  PreviewPlot& operator=(const PreviewPlot&) = delete;

  // Creates the window as the child `id` of `parent`. Returns false when it cannot be.
  bool Create(HWND parent, int id);
  HWND hwnd() const { return hwnd_; }

  // Shows `lines`; every row again when their count changed.
  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }
  const PlotView& view() const { return view_; }
  // The picture as last painted, its readout of the row under the pointer among it.
  const PlotPicture& picture() const { return picture_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnMouse(UINT message, WPARAM wparam, POINT at);
  void Paint(HDC dc);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;  // the parent's, not ours to delete
  PreviewLines lines_;
  PlotView view_;
  int drag_x_ = -1;       // where a drag with the left button last was; -1 for none
  bool tracked_ = false;  // the pointer's leaving is asked for
  PlotPicture picture_;   // as last painted: the pointer is read against its frame
};

}  // namespace kelvane

#endif  // KELVANE_WIN32_PREVIEW_H_
