#include "window/form1_win32.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/utf16.h"
#include "tests/test_support.h"
#include "window/folder_line.h"

namespace kelvane {

namespace {

std::string TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

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

// The line under the controls names the folder and what is missing there; a file dropped
// onto the window makes its folder the one Go works in.
TEST(Form1Win32Test, FolderLineFollowsADrop) {
  ScratchDir first, second;
  second.Write("Race.txt", "");
  Form1 form(GetModuleHandleW(nullptr), first.path);
  ASSERT_EQ(form.Create(), 0u);
  const HWND line = GetDlgItem(form.hwnd(), Form1::kFolderLineId);
  EXPECT_EQ(TextOf(line), FolderLineText(first.path));
  EXPECT_EQ(TextOf(line).rfind("No Race.txt, MaxRace.txt or MinRace.txt in ", 0), 0u);
  SendMessageW(form.hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(Dropped({second.path / "Race.txt"})), 0);
  EXPECT_EQ(TextOf(line), "No MaxRace.txt or MinRace.txt in " + DisplayPath(second.path));
  DestroyWindow(form.hwnd());
}

// Whatever the system's font, the controls keep their order down the window without
// overlapping, and all of them lie inside it.
TEST(Form1Win32Test, ControlsNeitherOverlapNorLeaveTheWindow) {
  ScratchDir dir;
  Form1 form(GetModuleHandleW(nullptr), dir.path);
  ASSERT_EQ(form.Create(), 0u);
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  LONG above = 0;
  for (const int id : {101, 102, 100, Form1::kFolderLineId}) {  // prompt, limit, Go, folder
    RECT box{};
    GetWindowRect(GetDlgItem(form.hwnd(), id), &box);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_LE(above, box.top) << id;
    EXPECT_LE(box.bottom, client.bottom) << id;
    above = box.bottom;
  }
  DestroyWindow(form.hwnd());
}

}  // namespace

}  // namespace kelvane
