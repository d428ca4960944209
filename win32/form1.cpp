#include "win32/form1.h"

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/folder_choice.h"
#include "app/folder_line.h"
#include "app/form1_layout.h"
#include "platform/utf16.h"
#include "win32/folder_chooser.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneForm1";
constexpr int kCloseId = 105;       // Ctrl+Q and Ctrl+W, as the close button
constexpr int kChooseId = 106;      // Ctrl+O, as a click on the folder line
constexpr int kIconId = 1;          // kelvane.rc
constexpr UINT_PTR kReadTimer = 1;  // the first read, once the window is painted
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

void Place(HWND control, const Box& box) {
  MoveWindow(control, box.left, box.top, box.width, box.height, TRUE);
}

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The height the text of `control` needs in `font`, wrapped at `width` pixels.
int WrappedHeight(HWND control, HFONT font, int width) {
  const std::wstring text = WindowText(control);
  HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, font);
  RECT box{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return box.bottom;
}

// The width of the widest word of the text of `control` in `font`.
int LongestWord(HWND control, HFONT font) {
  const std::wstring text = WindowText(control);
  HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, font);
  int longest = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(L' ', start), text.size());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(end - start), &size);
    longest = std::max(longest, static_cast<int>(size.cx));
    start = end + 1;
  }
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return longest;
}

// The height of a line of text in `font`.
int LineHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

// Tells screen readers `what` of `control`: `text` (its name, or beyond it, its description)
// or, given none, `role`.
void Describe(HWND control, const std::wstring& text, MSAAPROPID what = PROPID_ACC_DESCRIPTION,
              LONG role = 0) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  const auto client = static_cast<DWORD>(OBJID_CLIENT);
  if (role != 0) {
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = role;
    services->SetHwndProp(control, client, CHILDID_SELF, PROPID_ACC_ROLE, value);
  } else {
    services->SetHwndPropStr(control, client, CHILDID_SELF, what, text.c_str());
  }
  services->Release();
}

HWND CreateControl(HWND parent, const wchar_t* kind, std::string_view text, DWORD style, int id) {
  return CreateWindowExW(0, kind, Utf16(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                         nullptr);
}

}  // namespace

Form1::Form1(HINSTANCE instance, std::filesystem::path folder, std::string limit)
    : instance_(instance), folder_(std::move(folder)), limit_(std::move(limit)) {}

Form1::~Form1() {
  for (const HFONT font : {font_, link_font_}) {
    if (font) DeleteObject(font);
  }
  if (com_) CoUninitialize();
}

DWORD Form1::Create() {
  com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance_;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconId));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return GetLastError();
  }
  SetLastError(0);
  if (CreateWindowExW(kExStyle, kClassName, Utf16(kCaption).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this)) {
    return 0;
  }
  // A failure in WM_CREATE leaves no error code of its own.
  const DWORD error = GetLastError();
  return error ? error : ERROR_CANNOT_MAKE;
}

int Form1::Run(int show) {
  ShowWindow(hwnd_, show);
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'Q', kCloseId},
                  {FCONTROL | FVIRTKEY, 'W', kCloseId},
                  {FCONTROL | FVIRTKEY, 'O', kChooseId}};
  const HACCEL accelerators = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorW(hwnd_, accelerators, &message)) continue;
    if (!IsDialogMessageW(hwnd_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DestroyAcceleratorTable(accelerators);
  return exit_status_;
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return form ? form->HandleMessage(message, wparam, lparam)
              : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) OnSize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = least_;
      return 0;
    case WM_SHOWWINDOW:  // a timer's message comes after the painting
      if (wparam && !shown_) SetTimer(hwnd_, kReadTimer, 0, nullptr);
      break;
    case WM_TIMER:
      if (wparam != kReadTimer) break;
      KillTimer(hwnd_, kReadTimer);
      shown_ = true;
      RefreshPreview();
      return 0;
    case WM_MOUSEWHEEL: {  // comes to the window with the focus: the preview's when over it
      RECT preview{};
      GetWindowRect(preview_.hwnd(), &preview);
      if (PtInRect(&preview, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)})) {
        return SendMessageW(preview_.hwnd(), message, wparam, lparam);
      }
      break;
    }
    case WM_CTLCOLORSTATIC:  // the folder line in the colour of links, where it reads as text
      if (reinterpret_cast<HWND>(lparam) == folder_line_) {
        const LRESULT brush = DefWindowProcW(hwnd_, message, wparam, lparam);
        const bool reads =
            ContrastRatio(SystemRgb(COLOR_HOTLIGHT), SystemRgb(COLOR_BTNFACE)) >= 4.5;
        SetTextColor(reinterpret_cast<HDC>(wparam),
                     GetSysColor(reads ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
        return brush;
      }
      break;
    case WM_SETCURSOR:  // a hand where a click chooses the folder
      if (reinterpret_cast<HWND>(wparam) == folder_line_ ||
          (reinterpret_cast<HWND>(wparam) == preview_.hwnd() && folder_.path().empty())) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE && IsChild(hwnd_, GetFocus())) focus_ = GetFocus();
      if (LOWORD(wparam) != WA_INACTIVE) {
        ShowFolder();
        if (shown_) RefreshPreview();
      }
      break;
    case WM_SETFOCUS:
      SetFocus(focus_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(exit_status_);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

// Created in tab order; the label right before the text box, so that screen readers name
// the text box by the prompt.
bool Form1::OnCreate() {
  BtnGo = CreateControl(hwnd_, WC_BUTTONW, kBtnGoText, WS_TABSTOP | BS_PUSHBUTTON, kBtnGoId);
  Label1 = CreateControl(hwnd_, WC_STATICW, kLabel1Text, SS_LEFT, kLabel1Id);
  Text1 =
      CreateControl(hwnd_, WC_EDITW, kText1Text, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kText1Id);
  folder_line_ = CreateControl(hwnd_, WC_STATICW, "",
                               SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY, kFolderLineId);
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, hwnd_, nullptr, instance_, nullptr);
  if (!BtnGo || !Label1 || !Text1 || !folder_line_ || !tooltip_) return false;
  if (!preview_.Create(hwnd_, kPreviewId)) return false;
  Describe(preview_.hwnd(), Utf16(kPreviewName), PROPID_ACC_NAME);
  Describe(preview_.hwnd(), {}, PROPID_ACC_ROLE, ROLE_SYSTEM_CHART);
  Describe(folder_line_, {}, PROPID_ACC_ROLE, ROLE_SYSTEM_LINK);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(folder_line_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  DragAcceptFiles(hwnd_, TRUE);
  focus_ = BtnGo;
  Form_load();
  PlaceControls();
  ShowFolder();
  return true;
}

// Go is neither the default nor the cancel button: Return reaches here as IDOK and
// presses Go only when Go has the focus; Escape (IDCANCEL) does nothing.
void Form1::OnCommand(int id, int code) {
  if ((id == kBtnGoId && code == BN_CLICKED) || (id == IDOK && GetFocus() == BtnGo)) {
    BtnGo_click();
  }
  if (id == kText1Id && code == EN_CHANGE) ShowPreview();
  if (id == kCloseId) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (id == kChooseId || (id == kFolderLineId && code == STN_CLICKED) ||
      (id == kPreviewId && code == STN_CLICKED && folder_.path().empty())) {
    if (const auto chosen = ChooseFolder(hwnd_, folder_.path()))
      SetFolder(*chosen);  // else cancelled
  }
}

// A folder, or a file in one, dropped onto the window: Go works there from now on.
void Form1::OnDropFiles(HDROP drop) {
  std::vector<std::filesystem::path> items;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
    items.emplace_back(name);
  }
  DragFinish(drop);
  const Drop dropped = ReadDrop(items);
  if (!dropped.problem.empty()) {
    MessageBoxW(hwnd_, Utf16(dropped.problem).c_str(), Utf16(kCaption).c_str(),
                MB_OK | MB_ICONWARNING);
    return;
  }
  SetFolder(dropped.folder);
}

// Go works in `folder` from now on.
void Form1::SetFolder(std::filesystem::path folder) {
  folder_ = HeldFolder(std::move(folder));
  ShowFolder();
  RefreshPreview();
}

// The folder line keeps to the bottom across the whole width; the preview takes the rest
// of the room beside the controls.
void Form1::OnSize(int width, int height) {
  const RoomPlace room =
      LayOutRoom(place_, static_cast<int>(GetDpiForWindow(hwnd_)), width, height);
  Place(folder_line_, room.folder_line);
  Place(preview_.hwnd(), room.preview);
}

void Form1::OnDpiChanged(const RECT& suggested) {
  PlaceControls();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::Form_load() {
  SetWindowTextW(Label1, Utf16(kPrompt).c_str());
  SetWindowTextW(Text1, Utf16(limit_).c_str());
}

void Form1::BtnGo_click() {
  // The run waits on this thread: the line is painted before it does.
  const auto show_waiting = [this](std::string_view message) {
    SetWindowTextW(folder_line_, Utf16(message).c_str());
    UpdateWindow(folder_line_);
  };
  const GoOutcome outcome = PressGo(Utf8(WindowText(Text1)), folder_, MaxSeparation, show_waiting);
  ShowFolder();
  React(outcome);
}

// The layout is kept in twips and converted at the window's resolution, in the system's
// message font, as far as the texts fit at it (LayOutControls).
void Form1::PlaceControls() {
  const UINT dpi = GetDpiForWindow(hwnd_);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
  // The controls let go of the old font before it is deleted.
  const HFONT old_font = std::exchange(font_, CreateFontIndirectW(&metrics.lfMessageFont));
  metrics.lfMessageFont.lfUnderline = TRUE;  // the folder line's, a link's
  const HFONT old_link = std::exchange(link_font_, CreateFontIndirectW(&metrics.lfMessageFont));
  for (const HWND control : {Label1, Text1, BtnGo, folder_line_, preview_.hwnd()}) {
    const HFONT font = control == folder_line_ ? link_font_ : font_;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  for (const HFONT font : {old_font, old_link}) {
    if (font) DeleteObject(font);
  }
  const int line = LineHeight(hwnd_, font_);
  place_ = LayOutControls(
      static_cast<int>(dpi),
      {LongestWord(Label1, font_),
       [this](int width) { return WrappedHeight(Label1, font_, width); },
       line + MulDiv(7, static_cast<int>(dpi), 96), line + MulDiv(10, static_cast<int>(dpi), 96),
       line, [this](int width) { return preview_.FirstSize(width); }});
  Place(Label1, place_.label);
  Place(Text1, place_.text);
  Place(BtnGo, place_.go);
  const auto frame = [&](int width, int height) {
    RECT box{0, 0, width, height};
    AdjustWindowRectExForDpi(&box, kStyle, FALSE, kExStyle, dpi);
    return POINT{box.right - box.left, box.bottom - box.top};
  };
  least_ = frame(place_.least_width, place_.least_height);
  const POINT size = frame(place_.first_width, place_.first_height);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.x, size.y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Carries out what ReactionTo decides of Go's outcome.
void Form1::React(const GoOutcome& outcome) {
  const GoReaction reaction = ReactionTo(outcome.result);
  if (reaction.message != GoReaction::Message::kNone) {
    const bool warning = reaction.message == GoReaction::Message::kWarning;
    MessageBoxW(hwnd_, Utf16(outcome.message).c_str(), Utf16(kCaption).c_str(),
                MB_OK | (warning ? MB_ICONWARNING : MB_ICONERROR));
  }
  if (reaction.focus_limit) {
    SetFocus(Text1);
    SendMessageW(Text1, EM_SETSEL, 0, -1);
  }
  if (reaction.ends) {
    exit_status_ = reaction.exit_status;
    DestroyWindow(hwnd_);
  }
}
// The folder Go works in, or which of its inputs are not there; the whole path as the
// line's tooltip and accessible description.
void Form1::ShowFolder() {
  SetWindowTextW(folder_line_, Utf16(FolderLineText(folder_)).c_str());
  std::wstring path = folder_.path().native();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(folder_line_);
  tool.lpszText = path.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  Describe(folder_line_, path);
}

// Reads the inputs again when they changed; the pass lines follow the limit as typed.
void Form1::RefreshPreview() {
  if (preview_source_.Refresh(folder_)) ShowPreview();
}

// The preview, and for screen readers what it says in words, and why a limit is refused.
void Form1::ShowPreview() {
  const std::string limit = Utf8(WindowText(Text1));
  PreviewLines lines = preview_source_.Lines(limit);
  Describe(preview_.hwnd(), Utf16(PreviewDescription(lines)));
  Describe(Text1, Utf16(RefusalMessage(ReadLimitText(limit).problem)));
  preview_.SetLines(std::move(lines));
}

}  // namespace kelvane
