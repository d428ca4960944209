#ifndef KELVANE_WIN32_FORM1_H_
#define KELVANE_WIN32_FORM1_H_

#include "platform/windows_api.h"
// After the Windows API, which it needs.
#include <shellapi.h>

#include <filesystem>
#include <string>

#include "app/form1_layout.h"
#include "app/go_press.h"
#include "app/held_folder.h"
#include "app/limit_text.h"
#include "app/preview_lines.h"
#include "win32/preview.h"

namespace kelvane {

// The program's one window: a prompt, the limit in meters, and a Go button that runs the
// whole job on the line files in `folder`; beside them, a preview of the lines Go will
// write, and under them, the folder it works in.
class Form1 {
 public:
  // `limit` is the text the limit's box starts with.
  Form1(HINSTANCE instance, std::filesystem::path folder,
        std::string limit = std::string(kDefaultLimit));
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

  // Registers the window class and creates the window with its controls. Returns the
  // system's error code, 0 when the window is there.
  DWORD Create();

  HWND hwnd() const { return hwnd_; }
  // The controls' ids: the three of the design, the line under them and the preview.
  static constexpr int kBtnGoId = 100;
  static constexpr int kLabel1Id = 101;
  static constexpr int kText1Id = 102;
  static constexpr int kFolderLineId = 103;
  static constexpr int kPreviewId = 104;

  // Shows the window and handles its messages until it closes. Returns the exit status:
  // 0 when both pass lines were written or the window was closed, 1 after an error report.
  int Run(int show);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool OnCreate();
  void OnCommand(int id, int code);
  void OnDpiChanged(const RECT& suggested);
  void OnDropFiles(HDROP drop);
  void OnSize(int width, int height);

  void Form_load();
  void BtnGo_click();

  void PlaceControls();
  void React(const GoOutcome& outcome);
  void ShowFolder();
  void SetFolder(std::filesystem::path folder);
  void RefreshPreview();
  void ShowPreview();

  HINSTANCE instance_;
  HeldFolder folder_;  // none while none is chosen
  std::string limit_;  // the limit's text at the start
  HWND hwnd_ = nullptr;
  HWND Label1 = nullptr;
  HWND Text1 = nullptr;
  HWND BtnGo = nullptr;
  HWND folder_line_ = nullptr;  // the folder Go works in, or what a run waits for
  HWND tooltip_ = nullptr;      // the folder's whole path, over the line
  PreviewPlot preview_;
  PreviewSource preview_source_;
  bool shown_ = false;     // the window has been painted once: the preview may read
  ControlsPlace place_{};  // where the controls go at this font and resolution
  POINT least_{};          // the window's least size
  HWND focus_ = nullptr;   // the control that gets the focus back when the window does
  HFONT font_ = nullptr;
  HFONT link_font_ = nullptr;  // font_ underlined
  bool com_ = false;           // COM is initialised for this thread, and uninitialised at the end
  int exit_status_ = 0;
  float MaxSeparation = 0;  // the limit Go last ran with, in meters (CONTRIBUTING.md)
};

}  // namespace kelvane

#endif  // KELVANE_WIN32_FORM1_H_
