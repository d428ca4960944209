#include "win32/preview.h"

#include <utility>
#include <vector>

// After the Windows API, which it needs.
#include <windowsx.h>

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

// The inks in the system's colours; with high contrast on, the lines in its colours alone.
std::array<std::uint32_t, kInkCount> Inks() {
  std::array<std::uint32_t, kInkCount> inks =
      PreviewInks(SystemRgb(COLOR_WINDOW), SystemRgb(COLOR_WINDOWTEXT));
  HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
  SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0);
  if (contrast.dwFlags & HCF_HIGHCONTRASTON) {
    constexpr int kSystem[] = {COLOR_WINDOWTEXT, COLOR_GRAYTEXT, COLOR_GRAYTEXT, COLOR_HIGHLIGHT,
                               COLOR_HOTLIGHT};
    for (std::size_t line = 0; line < kLineInks.size(); ++line) {
      inks[static_cast<std::size_t>(kLineInks[line])] = SystemRgb(kSystem[line]);
    }
  }
  return inks;
}

TextMeasure Measure(HDC dc) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return {[dc](std::string_view text) {
            const std::wstring wide = Utf16(text);
            SIZE size{};
            GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
            return static_cast<int>(size.cx);
          },
          static_cast<int>(metrics.tmHeight)};
}

// Strokes `primitives` on `dc`, each ink in the colour `inks` gives it.
void Stroke(HDC dc, const std::vector<Primitive>& primitives,
            const std::array<std::uint32_t, kInkCount>& inks) {
  constexpr int kDashes[] = {PS_SOLID, PS_DASH, PS_DOT};
  SetBkMode(dc, TRANSPARENT);
  for (const Primitive& primitive : primitives) {
    const COLORREF colour = FromRgb(inks[static_cast<std::size_t>(primitive.ink)]);
    std::vector<POINT> points;
    for (const Point& point : primitive.points) points.push_back({point.x, point.y});
    const Box& box = primitive.box;
    const RECT rect{box.left, box.top, box.left + box.width, box.top + box.height};
    if (primitive.shape == Shape::kBox) {
      SetBkColor(dc, colour);
      ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    } else if (primitive.shape == Shape::kText) {
      const std::wstring wide = Utf16(primitive.text);
      SetTextColor(dc, colour);
      TextOutW(dc, box.left, box.top, wide.c_str(), static_cast<int>(wide.size()));
    } else if (primitive.shape == Shape::kArea) {
      const Selected pen(dc, GetStockObject(NULL_PEN), false), brush(dc, CreateSolidBrush(colour));
      Polygon(dc, points.data(), static_cast<int>(points.size()));
    } else {  // a wide pen as one-pixel lines, each a pixel below the last
      const Selected pen(dc,
                         CreatePen(kDashes[static_cast<std::size_t>(primitive.dash)], 1, colour));
      for (int below = 0; below < primitive.width; ++below) {
        Polyline(dc, points.data(), static_cast<int>(points.size()));
        for (POINT& point : points) ++point.y;
      }
    }
  }
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

PreviewPlot::~PreviewPlot() {
  if (drawn_) DeleteObject(drawn_);
}

std::uint32_t SystemRgb(int index) {
  const COLORREF colour = GetSysColor(index);
  return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 |
         GetBValue(colour);
}

Box PreviewPlot::FirstSize(int width) const {
  const HDC dc = GetDC(hwnd_);
  const HGDIOBJ old_font = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  const Box size = PreviewFirstSize(Measure(dc), width);
  SelectObject(dc, old_font);
  ReleaseDC(hwnd_, dc);
  return size;
}

void PreviewPlot::SetLines(PreviewLines lines) {
  if (RowCount(lines) != RowCount(lines_)) view_ = EveryRow(view_);
  lines_ = std::move(lines);
  stale_ = true;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PreviewPlot::Show(const PlotView& view) {
  const PlotView before = std::exchange(view_, view);
  if (!SameRows(before, view)) {
    stale_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  for (const Box& box : PointerBoxes(picture_, before.pointer_x, view.pointer_x)) {
    const RECT rect{box.left, box.top, box.left + box.width, box.top + box.height};
    InvalidateRect(hwnd_, &rect, FALSE);
  }
}

// `at` is in the preview's client area.
void PreviewPlot::OnMouse(UINT message, WPARAM wparam, POINT at) {
  const int count = RowCount(lines_);
  PlotView view = view_;
  switch (message) {
    case WM_MOUSEMOVE:
      if (drag_x_ >= 0) view = PannedView(view, count, picture_.frame, at.x - drag_x_);
      drag_x_ = drag_x_ >= 0 ? at.x : -1;
      view.pointer_x = at.x;
      if (!tracked_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd_, 0};
        tracked_ = TrackMouseEvent(&leave) != 0;
      }
      break;
    case WM_MOUSELEAVE:
      view.pointer_x = -1;
      tracked_ = false;
      break;
    case WM_LBUTTONDOWN:
      drag_x_ = at.x;
      SetCapture(hwnd_);
      break;
    case WM_LBUTTONUP:  // said to the parent as a click on a static control
      drag_x_ = -1;
      ReleaseCapture();
      SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), STN_CLICKED),
                   reinterpret_cast<LPARAM>(hwnd_));
      break;
    case WM_LBUTTONDBLCLK:
      view = EveryRow(view);
      break;
    case WM_MOUSEWHEEL:
      view = WheeledView(view, count, picture_.frame, at.x, GET_WHEEL_DELTA_WPARAM(wparam) > 0);
      break;
  }
  Show(view);
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
      plot->stale_ = true;
      if (LOWORD(lparam)) InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window, &client);
      plot->Paint(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      plot->Paint(dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// The picture is stroked into drawn_ when it is stale, copied, then the pointer's layer
// stroked over it: what the system shows only once the paint ends.
void PreviewPlot::Paint(HDC dc, const RECT& box) {
  RECT client;
  GetClientRect(hwnd_, &client);
  BITMAP size{};
  if (drawn_) GetObjectW(drawn_, sizeof size, &size);
  if (size.bmWidth != client.right || size.bmHeight != client.bottom) {
    if (drawn_) DeleteObject(drawn_);
    drawn_ = CreateCompatibleBitmap(dc, client.right, client.bottom);
    stale_ = true;
  }
  const HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const std::array<std::uint32_t, kInkCount> inks = Inks();
  const HDC drawn = CreateCompatibleDC(dc);
  {
    const Selected bitmap(drawn, drawn_, false), drawn_font(drawn, font, false);
    if (stale_ || inks != inks_) {
      picture_ = LayOutPreview(lines_, {0, 0, client.right, client.bottom}, Measure(drawn), view_);
      Stroke(drawn, picture_.primitives, inks);
      stale_ = false;
      inks_ = inks;
    }
    BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, drawn, box.left,
           box.top, SRCCOPY);
  }
  DeleteDC(drawn);
  const Selected dc_font(dc, font, false);
  pointer_layer_ = LayOutPointer(lines_, picture_, view_.pointer_x, Measure(dc));
  Stroke(dc, pointer_layer_, inks);
}

}  // namespace kelvane
