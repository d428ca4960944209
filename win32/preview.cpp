#include "win32/preview.h"

#include <vector>

// After the Windows API, which it needs.
#include <windowsx.h>

#include "app/preview_plot.h"
#include "platform/utf16.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvanePreview";

// A GDI object, deleted when it goes; selected into a device context for as long as it
// lives.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object, bool owned = true)
      : dc_(dc), object_(object), previous_(SelectObject(dc, object)), owned_(owned) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() {
    SelectObject(dc_, previous_);
    if (owned_) DeleteObject(object_);
  }

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
  bool owned_;
};

COLORREF FromRgb(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::uint32_t ToRgb(COLORREF colour) {
  return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 |
         GetBValue(colour);
}

// Each line's colour: with high contrast on, the system's colours alone.
COLORREF LineColour(std::size_t line) {
  HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
  SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0);
  if (contrast.dwFlags & HCF_HIGHCONTRASTON) {
    constexpr int kSystem[] = {COLOR_WINDOWTEXT, COLOR_GRAYTEXT, COLOR_GRAYTEXT, COLOR_HIGHLIGHT,
                               COLOR_HOTLIGHT};
    return GetSysColor(kSystem[line]);
  }
  return line == 0 ? GetSysColor(COLOR_WINDOWTEXT)
                   : FromRgb(PreviewColours(ToRgb(GetSysColor(COLOR_WINDOW)))[line]);
}

void Line(HDC dc, PlotPoint from, PlotPoint to) {
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
}

}  // namespace

bool PreviewPlot::Create(HWND parent, int id) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = kClassName;
  window_class.style = CS_DBLCLKS;
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    return false;
  return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

void PreviewPlot::SetLines(PreviewLines lines) {
  if (RowCount(lines) != RowCount(lines_)) view_ = {0, -1, view_.pointer_x};
  lines_ = std::move(lines);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// `at` is in the preview's client area.
void PreviewPlot::OnMouse(UINT message, WPARAM wparam, POINT at) {
  const int count = RowCount(lines_);
  switch (message) {
    case WM_MOUSEMOVE:
      if (drag_x_ >= 0) view_ = PannedView(view_, count, picture_.frame, at.x - drag_x_);
      drag_x_ = drag_x_ >= 0 ? at.x : -1;
      view_.pointer_x = at.x;
      if (!tracked_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd_, 0};
        tracked_ = TrackMouseEvent(&leave) != 0;
      }
      break;
    case WM_MOUSELEAVE:
      view_.pointer_x = -1;
      tracked_ = false;
      break;
    case WM_LBUTTONDOWN:
      drag_x_ = at.x;
      SetCapture(hwnd_);
      break;
    case WM_LBUTTONUP:
      drag_x_ = -1;
      ReleaseCapture();
      break;
    case WM_LBUTTONDBLCLK:
      view_ = {0, -1, at.x};
      break;
    case WM_MOUSEWHEEL:
      view_ = ZoomedView(view_, count, picture_.frame, at.x,
                         GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? 0.8 : 1.25);
      break;
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK PreviewPlot::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* plot =
        static_cast<PreviewPlot*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    plot->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(plot));
  }
  auto* plot = reinterpret_cast<PreviewPlot*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      plot->OnMouse(message, wparam, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return 0;
    case WM_MOUSEWHEEL: {  // at a point of the screen
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(window, &at);
      plot->OnMouse(message, wparam, at);
      return 0;
    }
    case WM_SETFONT:
      plot->font_ = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
      plot->Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_PAINT: {  // drawn aside, then copied at once, so that it never flickers
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      const HDC aside = CreateCompatibleDC(dc);
      {
        const Selected bitmap(aside, CreateCompatibleBitmap(dc, client.right, client.bottom));
        plot->Paint(aside);
        BitBlt(dc, 0, 0, client.right, client.bottom, aside, 0, 0, SRCCOPY);
      }
      DeleteDC(aside);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void PreviewPlot::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  const Selected font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT), false);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const TextMeasure measure{[dc](std::string_view text) {
                              const std::wstring wide = Utf16(text);
                              SIZE size{};
                              GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()),
                                                    &size);
                              return static_cast<int>(size.cx);
                            },
                            static_cast<int>(metrics.tmHeight)};
  picture_ = DrawPreview(lines_, {0, 0, client.right, client.bottom}, measure, view_);
  const PlotPicture& picture = picture_;

  const COLORREF background = GetSysColor(COLOR_WINDOW);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  if (!picture.band.empty()) {  // faint, under everything
    const Selected pen(dc, GetStockObject(NULL_PEN), false);
    const Selected brush(dc, CreateSolidBrush(FromRgb(BandColour(ToRgb(background), ToRgb(text)))));
    std::vector<POINT> band;
    for (const PlotPoint& point : picture.band) band.push_back({point.x, point.y});
    Polygon(dc, band.data(), static_cast<int>(band.size()));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  {
    const Selected pen(dc, CreatePen(PS_SOLID, 1, text));
    const Selected brush(dc, GetStockObject(NULL_BRUSH), false);
    const PlotBox& frame = picture.frame;
    if (frame.width > 0) {
      Rectangle(dc, frame.left, frame.top, frame.left + frame.width, frame.top + frame.height);
    }
    for (const auto& [from, to] : picture.ticks) Line(dc, from, to);
  }
  for (const PlotText& label : picture.texts) {
    const std::wstring wide = Utf16(label.text);
    TextOutW(dc, label.box.left, label.box.top, wide.c_str(), static_cast<int>(wide.size()));
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {  // where the limit holds a pass line back
    const HBRUSH brush = CreateSolidBrush(LineColour(kInputCount + pass));
    const int y = picture.marks_y[pass];
    for (const auto& [from, to] : picture.held_spans[pass]) {
      const RECT mark{from, y, to + 1, y + 4};
      FillRect(dc, &mark, brush);
    }
    DeleteObject(brush);
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {  // under the pass lines Go writes
    const Selected pen(dc, CreatePen(PS_DASH, 1, LineColour(kInputCount + pass)));
    for (const std::vector<PlotPoint>& run : picture.on_disk[pass]) {
      std::vector<POINT> points;
      for (const PlotPoint& point : run) points.push_back({point.x, point.y});
      Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
  }
  for (std::size_t i = 0; i < picture.traces.size(); ++i) {
    const Selected pen(dc, CreatePen(PS_SOLID, kPreviewPenWidths[i], LineColour(i)));
    const auto& [from, to] = picture.samples[i];
    if (from.x != to.x) Line(dc, from, to);
    std::vector<POINT> points;
    points.reserve(picture.traces[i].size());
    for (const PlotPoint& point : picture.traces[i]) points.push_back({point.x, point.y});
    Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  if (!picture.readout.text.empty()) {  // the row under the pointer, over everything
    {
      const Selected pen(dc, CreatePen(PS_DOT, 1, text));
      Line(dc, picture.cursor[0], picture.cursor[1]);
    }
    const std::wstring wide = Utf16(picture.readout.text);
    const PlotBox& box = picture.readout.box;
    const RECT behind{box.left - 2, box.top, box.left + box.width + 2, box.top + box.height};
    FillRect(dc, &behind, GetSysColorBrush(COLOR_WINDOW));
    TextOutW(dc, box.left, box.top, wide.c_str(), static_cast<int>(wide.size()));
  }
  if (!picture.message.text.empty()) {
    const std::wstring message = Utf16(picture.message.text);
    const PlotBox& box = picture.message.box;
    RECT place{box.left, box.top, box.left + box.width, box.top + box.height};
    RECT needed = place;
    constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextW(dc, message.c_str(), -1, &needed, kFormat | DT_CALCRECT);
    IntersectRect(&needed, &needed, &place);
    SetBkColor(dc, background);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &needed, nullptr, 0, nullptr);
    DrawTextW(dc, message.c_str(), -1, &place, kFormat);
  }
}

}  // namespace kelvane
