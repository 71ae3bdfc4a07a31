// The real main window for the window-level tests, created in the test's own process under Wine's
// null display driver: the outside world recorded instead of used, the program "lying" in a folder
// of the test's own (so its language files are the test's), no language chosen unless the test
// chooses one, and the page facts replaceable one query at a time through TForm1::Sources before
// the window is shown.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "tests/support/RecordingOutside.h"
#include "tests/support/RegistryScratch.h"
#include "tests/support/WinTestTools.h"

namespace orv::test {

// The first row of the list whose cells (column, text) all match, or -1.
inline int RowWith(const ListView& list, const std::vector<std::pair<int, std::string>>& cells) {
  for (int row = 0; row < list.Count(); ++row) {
    bool all = true;
    for (const auto& [column, text] : cells) all = all && list.ItemText(row, column) == text;
    if (all) return row;
  }
  return -1;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    languageChoice.Delete("Language");
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "OrvWindowTest" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, temp);
    savedCurrentDir = temp;
  }

  void TearDown() override {
    form.reset();
    SetCurrentDirectoryA(savedCurrentDir.c_str());
    for (const std::string& file : created) DeleteFileA(file.c_str());
    RemoveDirectoryA(dir.c_str());
    CoUninitialize();
  }

  // The system's own answers, with the program in the test's folder.
  SystemQueries InDir() {
    SystemQueries queries = SystemQueries::Real();
    queries.programPath = [this] { return dir + "\\Orvendex.exe"; };
    return queries;
  }

  // The window, its outside world recorded in outside unless given; tests replace Sources
  // before Show.
  TForm1& Make(SystemQueries queries, Outside& world) {
    form = std::make_unique<TForm1>(world, std::move(queries));
    EXPECT_TRUE(form->Create(nullptr));
    return *form;
  }
  TForm1& Make(SystemQueries queries) { return Make(std::move(queries), outside); }
  TForm1& Make() { return Make(InDir()); }

  // The window as the program opens it: owned by the title window, the loop's main form, shown.
  TForm1& Open(Outside& world) {
    Application& app = Application::Instance();
    EXPECT_TRUE(app.Initialize("Orvendel"));
    form = std::make_unique<TForm1>(world, InDir());
    app.SetMainForm(form.get());
    EXPECT_TRUE(form->Create(app.Handle()));
    form->Show();
    return *form;
  }

  // The "Language" value the window reads at creation.
  void ChooseLanguage(DWORD index) { ASSERT_TRUE(languageChoice.SetDword("Language", index)); }

  // Writes the language file the window reads (index 0 when no choice is stored: English.ini).
  void Language(const std::string& text, const std::string& fileName = "English.ini") {
    const std::string path = dir + "\\" + fileName;
    WriteBytes(path, text);
    // Wine keeps the last profile file it read in a cache keyed by its time stamp; a rewrite in
    // the same second must still be seen, as on Windows.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    if (std::find(created.begin(), created.end(), path) == created.end()) created.push_back(path);
  }

  // Every page but the General one is made the first time it is shown. A test that reads a
  // page's controls as they are before any fill makes them as a tab change does, on the window
  // still hidden, where no show handler runs; the General page is the active one again after.
  static void MakeEveryPage(TForm1& f) {
    for (int index = 1; index < f.Pages.PageCount(); ++index) f.Pages.SetActiveIndex(index);
    f.Pages.SetActiveIndex(0);
  }

  // What a click on a tab does: the selection changes, then the window hears of it.
  static void UserPicksTab(TForm1& f, int index) {
    TabCtrl_SetCurSel(f.Pages.Handle(), index);
    NMHDR header{f.Pages.Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }

  // A click on a label as Windows reports it to the label's parent.
  static void Click(Label& label) {
    SendMessageA(GetParent(label.Handle()), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(label.Handle()));
  }
  // The same, posted: it arrives only when messages are let through.
  static void PostClick(Label& label) {
    PostMessageA(GetParent(label.Handle()), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(label.Handle()));
  }

  // Both reports saved through the menu, the dialog answering stem; removed after the test.
  void SaveBoth(TForm1& f, const std::string& stem) {
    for (const bool html : {false, true}) {
      outside.saveAnswer = stem;
      (html ? f.SaveAsHTMLItem : f.SaveAsTXTItem).Click();
      created.push_back(stem + (html ? ".html" : ".txt"));
    }
  }

  // The bytes of a row "<caption><n> Mb", or -1 when the row is not of that form.
  static double MegabytesIn(const std::string& row, const std::string& caption) {
    const std::string unit = " Mb";
    if (row.rfind(caption, 0) != 0 || row.size() <= caption.size() + unit.size() ||
        row.compare(row.size() - unit.size(), unit.size(), unit) != 0) {
      return -1;
    }
    const std::string digits =
        row.substr(caption.size(), row.size() - caption.size() - unit.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stod(digits) * 1048576.0;
  }

  RegistryScratch registry;
  RegistryScratch::Key languageChoice =
      registry.At(HKEY_CURRENT_USER, "Software\\Tellwick\\Orvendel");
  RecordingOutside outside;
  std::unique_ptr<TForm1> form;
  std::string dir;
  std::string savedCurrentDir;
  std::vector<std::string> created;
};

}  // namespace orv::test
