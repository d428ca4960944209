#ifndef KELVANE_WIN32_PREVIEW_H_
#define KELVANE_WIN32_PREVIEW_H_

#include "app/preview_lines.h"
#include "platform/windows_api.h"

namespace kelvane {

// The preview of the lines Go will write, a child window drawn as DrawPreview lays it out
// in the font the parent sets (WM_SETFONT) and the system's colours when high contrast is
// on. Draws itself into the device context of WM_PRINTCLIENT too.
class PreviewPlot {
 public:
  PreviewPlot() = default;
  PreviewPlot(const PreviewPlot&) = delete;
  PreviewPlot& operator=(const PreviewPlot&) = delete;

  // Creates the window as the child `id` of `parent`. Returns false when it cannot be.
  bool Create(HWND parent, int id);
  HWND hwnd() const { return hwnd_; }

  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc) const;

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;  // the parent's, not ours to delete
  PreviewLines lines_;
};

}  // namespace kelvane

#endif  // KELVANE_WIN32_PREVIEW_H_
