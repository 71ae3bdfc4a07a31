// No label cuts its text on a real display: every label of the six pages, in English and in
// German, is at least as wide and tall as its text drawn by its own device context with its own
// font and the format its STATIC style draws with. Wine's null driver draws nothing and measures
// alike on every device, so there the test skips; tests/app/on-xvfb.sh runs it under Wine's X11
// driver on a virtual screen, where a label measured on another device was seen cut.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"
#include "tests/support/WindowWalk.h"

namespace orv {
namespace {

bool NullDisplayDriver() {
  char driver[32] = {};
  DWORD size = sizeof(driver);
  return RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics", RRF_RT_REG_SZ,
                      nullptr, driver, &size) == ERROR_SUCCESS &&
         lstrcmpiA(driver, "null") == 0;
}

// What STATIC does with its styles when it draws text.
UINT DrawFormat(LONG_PTR style) {
  UINT format = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  const LONG_PTR type = style & SS_TYPEMASK;
  if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) format |= DT_WORDBREAK;
  if (style & SS_CENTERIMAGE) format |= DT_SINGLELINE;
  return format;
}

bool IsTextLabel(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  const LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK;
  return lstrcmpiA(name, "Static") == 0 && (type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP);
}

class LabelFitTest : public test::WindowTest {};

TEST_F(LabelFitTest, NoLabelCutsItsTextOnTheScreen) {
  if (NullDisplayDriver()) {
    GTEST_SKIP() << "Wine's null display driver measures alike on every device; run under the "
                    "X11 driver (tests/app/on-xvfb.sh)";
  }
  const struct {
    const char* why;
    DWORD language;
    const char* file;
  } languages[] = {{"English", 1, "English.ini"}, {"German", 2, "German.ini"}};
  for (const auto& l : languages) {
    ChooseLanguage(l.language);
    Language(test::FileBytes(std::string(ORV_LANG_FILES_DIR) + "/" + l.file), l.file);
    TForm1& f = Make();
    f.Show();
    for (int page = 0; page < f.Pages.PageCount(); ++page) {
      f.Pages.SetActiveIndex(page);
      Application::Instance().ProcessMessages();
    }
    int checked = 0;
    for (HWND label : test::ChildrenOf(f.Handle())) {
      char text[512] = {};
      if (!IsTextLabel(label) || GetWindowTextA(label, text, sizeof(text)) <= 0) continue;
      const LONG_PTR style = GetWindowLongPtrA(label, GWL_STYLE);
      RECT client{};
      GetClientRect(label, &client);
      const WindowDc dc(label);
      const HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
      const SelectGuard inFont(dc.Get(), font);
      const UINT format = DrawFormat(style);
      RECT measured{0, 0, (style & SS_CENTERIMAGE) ? 0 : client.right, 0};
      DrawTextA(dc.Get(), text, -1, &measured, format | DT_CALCRECT);
      // The pixels: the text drawn at the label's place on a wide bitmap of the label's device.
      const UniqueMemoryDc paper(CreateCompatibleDC(dc.Get()));
      const int width = client.right + 100;
      const int height = client.bottom + 20;
      const UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), width, height));
      const SelectGuard onPaper(paper.Get(), bitmap.Get());
      const SelectGuard paperFont(paper.Get(), font);
      PatBlt(paper.Get(), 0, 0, width, height, WHITENESS);
      RECT place = client;
      DrawTextA(paper.Get(), text, -1, &place, format | DT_NOCLIP);
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      std::vector<DWORD> pixels(static_cast<std::size_t>(width * height));
      ASSERT_EQ(GetDIBits(paper.Get(), bitmap.Get(), 0, height, pixels.data(), &info, 0), height);
      int inkRight = 0;
      int inkBottom = 0;
      for (int i = 0; i < width * height; ++i) {
        if ((pixels[static_cast<std::size_t>(i)] & 0xFFFFFF) == 0xFFFFFF) continue;
        inkRight = std::max(inkRight, i % width + 1);
        inkBottom = std::max(inkBottom, i / width + 1);
      }
      const std::string says = std::string(l.why) + ": \"" + text + "\" is cut";
      EXPECT_GE(client.right, measured.right) << says << " as measured";
      EXPECT_GE(client.bottom, measured.bottom) << says << " as measured";
      EXPECT_GE(client.right, inkRight) << says << " as drawn";
      EXPECT_GE(client.bottom, inkBottom) << says << " as drawn";
      ++checked;
    }
    EXPECT_GT(checked, 40) << l.why;
  }
}

}  // namespace
}  // namespace orv
