#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/folder_line.h"
#include "app/form1_layout.h"
#include "platform/files.h"
#include "platform/utf16.h"
#include "tests/test_support.h"
#include "tests/window_preview_checks.h"
#include "win32/form1.h"

namespace kelvane {

namespace {

// Paths as Explorer hands them over in WM_DROPFILES: a DROPFILES, then each path and a
// NUL, then a NUL.
HGLOBAL Dropped(const std::vector<std::filesystem::path>& paths) {
  std::wstring list;
  for (const auto& path : paths) list += path.native() + L'\0';
  list += L'\0';
  const std::size_t bytes = list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), bytes);
  GlobalUnlock(memory);
  return memory;
}

// Handles the messages waiting, then those that come within `milliseconds`.
void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

// The preview drawn into a bitmap, as printing it does, and the colours it draws each ink in.
Picture Grab(HWND preview) {
  RECT client{};
  GetClientRect(preview, &client);
  const auto rgb = [](COLORREF colour) {
    return std::uint32_t{GetRValue(colour)} << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  };
  Picture picture{client.right,
                  {},
                  PreviewInks(rgb(GetSysColor(COLOR_WINDOW)), rgb(GetSysColor(COLOR_WINDOWTEXT)))};
  const HDC screen = GetDC(preview), memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  SendMessageW(preview, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) picture.pixels.push_back(rgb(GetPixel(memory, x, y)));
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(preview, screen);
  return picture;
}

// Whether the prompt fits its box in its own font, wrapped at blanks as it is drawn: a
// word wider than the box widens what DrawText needs.
bool PromptFits(HWND label) {
  RECT box{}, needs{};
  GetClientRect(label, &box);
  needs.right = box.right;
  const HDC dc = GetDC(label);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  DrawTextW(dc, Utf16(kPrompt).c_str(), -1, &needs, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  return needs.right <= box.right && needs.bottom <= box.bottom;
}

// Whatever the system's font and resolution (KELVANE_TEST_DPI names the one expected), at a
// message font of 14, 20 and 28 points too: the prompt fits its box in the window's font as
// Windows draws it (where each control goes is the layout test's). The preview reads the
// files only once the window is on the screen, shows them at its first size as a person
// expects, and takes no part in the tab order; the wheel, sent to the window with the focus,
// reaches it. A file dropped onto the window makes its folder the one Go works in, which the
// line under the controls names with what is missing there, and the one the preview shows.
class Form1Win32Test : public testing::TestWithParam<int> {};

TEST_P(Form1Win32Test, ShowsWhatGoWillWriteAndWhereAsWindowsDrawsIt) {
  NONCLIENTMETRICSW usual{};
  usual.cbSize = sizeof usual;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof usual, &usual, 0);
  NONCLIENTMETRICSW large = usual;
  if (GetParam() > 0) large.lfMessageFont.lfHeight = -MulDiv(GetParam(), 96, 72);
  SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof large, &large, 0);
  ScratchDir dir;
  WriteSineLines(dir, 300);
  Form1 form(GetModuleHandleW(nullptr), dir.path);
  ASSERT_EQ(form.Create(), 0u);
  if (const char* dpi = std::getenv("KELVANE_TEST_DPI")) {
    EXPECT_EQ(GetDpiForWindow(form.hwnd()), static_cast<UINT>(std::atoi(dpi)));
  }
  EXPECT_TRUE(PromptFits(GetDlgItem(form.hwnd(), Form1::kLabel1Id)));
  const HWND preview = GetDlgItem(form.hwnd(), Form1::kPreviewId);
  const auto* plot = reinterpret_cast<PreviewPlot*>(GetWindowLongPtrW(preview, GWLP_USERDATA));
  Pump(50);
  EXPECT_TRUE(plot->lines().separations[0].empty()) << "read before the window showed";
  ShowWindow(form.hwnd(), SW_SHOW);
  Pump(200);
  ASSERT_EQ(plot->lines().separations[3].size(), 300u);
  EXPECT_FALSE(GetWindowLongW(preview, GWL_STYLE) & WS_TABSTOP);
  RECT client{};
  GetClientRect(preview, &client);
  const POINT middle{client.right / 2, client.bottom / 2};
  CheckPreviewOfSineLines(
      *plot,
      {.grab = [preview] { return Grab(preview); },
       .type_limit =
           [&](const char* text) {
             SetWindowTextW(GetDlgItem(form.hwnd(), Form1::kText1Id), Utf16(text).c_str());
           },
       .point = [&] { SendMessageW(preview, WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y)); },
       .wheel =
           [&] {
             POINT on_screen = middle;
             ClientToScreen(preview, &on_screen);
             SendMessageW(form.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                          MAKELPARAM(on_screen.x, on_screen.y));
           },
       .double_click = [&] { SendMessageW(preview, WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10)); },
       .activate = [&] { SendMessageW(form.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0); }},
      dir);

  ScratchDir second;  // a file dropped onto the window: its folder is where Go works
  second.Write("Race.txt", "");
  SendMessageW(form.hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(Dropped({second.path / "Race.txt"})), 0);
  wchar_t line[1024];
  GetDlgItemTextW(form.hwnd(), Form1::kFolderLineId, line, 1024);
  EXPECT_EQ(Utf8(line), "No MaxRace.txt or MinRace.txt in " + DisplayPath(second.path));
  EXPECT_NE(plot->lines().problem.find("missing input file(s): MaxRace.txt, MinRace.txt"),
            std::string::npos);
  DestroyWindow(form.hwnd());
  SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof usual, &usual, 0);
}

INSTANTIATE_TEST_SUITE_P(Points, Form1Win32Test, testing::Values(0, 14, 20, 28));

}  // namespace

}  // namespace kelvane
