// The real main window for the page tests, created in the test's own process under Wine's null
// display driver: the outside world recorded instead of used, the program "lying" in a folder of
// the test's own (so its language files are the test's), and the page facts replaceable one query
// at a time through TForm1::Sources before the window is shown.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "tests/support/RecordingOutside.h"

namespace orv::test {

class PageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "OrvPageTest" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
  }

  void TearDown() override {
    form.reset();
    for (const std::string& file : created) DeleteFileA(file.c_str());
    RemoveDirectoryA(dir.c_str());
    CoUninitialize();
  }

  // The window with the system's own answers for everything; tests replace Sources before Show.
  TForm1& Make() {
    SystemQueries queries = SystemQueries::Real();
    queries.programPath = [this] { return dir + "\\Orvendex.exe"; };
    form = std::make_unique<TForm1>(outside, std::move(queries));
    EXPECT_TRUE(form->Create(nullptr));
    return *form;
  }

  // Writes the language file the window reads (index 0 when no choice is stored: English.ini).
  void Language(const std::string& text, const std::string& fileName = "English.ini") {
    const std::string path = dir + "\\" + fileName;
    {
      std::ofstream file(path, std::ios::binary | std::ios::trunc);
      file << text;
    }
    // Wine keeps the last profile file it read in a cache keyed by its time stamp; a rewrite in
    // the same second must still be seen, as on Windows.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    for (const std::string& known : created) {
      if (known == path) return;
    }
    created.push_back(path);
  }

  // What a click on a tab does: the selection changes, then the window hears of it.
  static void UserPicksTab(TForm1& f, int index) {
    TabCtrl_SetCurSel(f.Pages.Handle(), index);
    NMHDR header{f.Pages.Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }

  // A click on a label as Windows reports it to the label's parent, posted: it arrives only when
  // messages are let through.
  static void PostClick(Label& label) {
    PostMessageA(GetParent(label.Handle()), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(label.Handle()));
  }

  RecordingOutside outside;
  std::unique_ptr<TForm1> form;
  std::string dir;
  std::vector<std::string> created;
};

}  // namespace orv::test
