// The real main window driven by the keyboard alone, keys typed as hardware input into the window
// while it runs its own loop, from the focus it starts with: Tab and Shift+Tab through every
// control of each page, Enter and Space on the links, the shortcut keys, the menus the keys open,
// and Ctrl+C from the lists onto the real clipboard. The outside world is recorded, except the
// pop-up menus of the tests that watch the real one.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/KeysAndClipboard.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

using test::Press;

// The real pop-up menu: the keys a test gives are typed into it once it is open, as a user's
// would be; with none, it is looked at a second after it opened and then dismissed with Esc.
class RealMenuOutside : public test::RecordingOutside {
 public:
  std::vector<UINT> keysInMenu;
  std::vector<bool> openASecondLater;  // one for each menu looked at

  UINT TrackPopup(HMENU menu, HWND owner, int x, int y) override {
    RecordingOutside::TrackPopup(menu, owner, x, y);
    for (UINT key : keysInMenu) test::Type(key);
    if (keysInMenu.empty()) {
      watched_ = this;
      openASecondLater.push_back(false);
      SetTimer(owner, kLook, 1000, &Look);
    }
    const UINT id = RealOutside().TrackPopup(menu, owner, x, y);
    KillTimer(owner, kLook);
    watched_ = nullptr;
    return id;
  }

 private:
  static constexpr UINT_PTR kLook = 0x0A7C;
  static inline RealMenuOutside* watched_ = nullptr;
  // Runs in the menu's own loop while the menu is open, and only then.
  static void CALLBACK Look(HWND owner, UINT, UINT_PTR id, DWORD) {
    KillTimer(owner, id);
    if (!watched_) return;
    const HWND menu = FindWindowA("#32768", nullptr);
    watched_->openASecondLater.back() = menu && IsWindowVisible(menu);
    test::Type(VK_ESCAPE);
  }
};

class KeyboardTest : public test::WindowTest {
 protected:
  // The window as the program opens it, in the foreground, its first page filled.
  TForm1& Open() { return Open(outside); }
  TForm1& OpenWithRealMenu() { return Open(menuOutside); }
  TForm1& Open(Outside& world) {
    WindowTest::Open(world);
    SetForegroundWindow(form->Handle());
    test::TakeInput();
    return *form;
  }

  RealMenuOutside menuOutside;
};

// No control keeps the focus: Tab goes on through the page's controls, the footer links and round
// to the tabs, and Shift+Tab goes the same way back, through the read-only process box and the
// lists too, which ask the dialog manager for every key.
TEST_F(KeyboardTest, TabAndShiftTabWalkEveryPageInReadingOrderThenTheFooter) {
  TForm1& f = Open();
  ASSERT_EQ(GetFocus(), f.Pages.Handle()) << "the first focus is on the tabs";
  // Pages are made when first shown: their controls are named here, their windows read there.
  const struct {
    const char* why;
    std::vector<const Control*> stops;  // after the tabs, before the footer
  } pages[] = {
      {"General", {&f.Page1Label14}},
      {"Drives: the drive rows, then the band link", {}},
      {"Memory", {&f.Page3List, &f.Page3Label05}},
      {"Startup list",
       {&f.Page4List, &f.Page4Label01, &f.Page4Label02, &f.Page4Label03, &f.Page4Label04}},
      {"Installed programs", {&f.Page5List, &f.Page5Label01}},
      {"About", {&f.Page6Label06, &f.Page6Label08}},
  };
  std::vector<HWND> drives;
  int page = 0;
  for (const auto& p : pages) {
    if (page > 0) Press(VK_TAB, kCtrl);
    ASSERT_EQ(f.Pages.ActiveIndex(), page) << p.why;
    std::vector<HWND> order;
    for (const Control* stop : p.stops) order.push_back(stop->Handle());
    if (page == 1) {
      for (Label* slot : f.DriveLabels()) {
        if (slot->Visible() && slot->IsLink()) drives.push_back(slot->Handle());
      }
      order = drives;
      order.push_back(f.Page2Label14.Handle());
    }
    order.insert(order.end(), {f.HelpLabel.Handle(), f.SaveLabel.Handle(), f.Pages.Handle()});
    for (std::size_t step = 0; step < order.size(); ++step) {
      Press(VK_TAB);
      EXPECT_EQ(GetFocus(), order[step]) << p.why << ", Tab " << step + 1;
    }
    order.insert(order.begin(), f.Pages.Handle());
    for (std::size_t step = order.size() - 1; step > 0; --step) {
      Press(VK_TAB, kShift);
      EXPECT_EQ(GetFocus(), order[step - 1]) << p.why << ", Shift+Tab from " << step;
    }
    ++page;
  }
  EXPECT_FALSE(drives.empty()) << "the prefix has fixed drives";
  // Shift+Tab goes back from the tabs round to the footer.
  Press(VK_TAB, kShift);
  EXPECT_EQ(GetFocus(), f.SaveLabel.Handle());
  // Once the keyboard moved the focus, the window shows where it is.
  EXPECT_FALSE(SendMessageA(GetFocus(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// Until the keyboard is used, no control shows focus cues: those of the first page, made before
// the window came on screen, and those of a page made when the mouse first picks its tab.
TEST_F(KeyboardTest, FocusCuesStayHiddenOnEveryPageUntilTheKeyboardIsUsed) {
  // Windows' default, for this session only (Wine's prefix shows the cues always).
  BOOL cuesAlways = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cuesAlways, 0);
  struct Restore {
    BOOL value;
    ~Restore() { SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, IntToPtr(value), 0); }
  } restore{cuesAlways};
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, IntToPtr(FALSE), 0));
  TForm1& f = Open();
  const auto hidden = [](HWND window) {
    return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
  };
  if (!hidden(f.Handle())) {
    GTEST_SKIP() << "this system keeps no focus-cue state for the window (Wine answers "
                    "WM_QUERYUISTATE with 0 after UIS_SET)";
  }
  EXPECT_TRUE(hidden(f.Pages.Handle()));
  EXPECT_TRUE(hidden(f.Page1Label14.Handle()));
  EXPECT_TRUE(hidden(f.SaveLabel.Handle()));
  f.Pages.SetActiveIndex(3);
  EXPECT_TRUE(hidden(f.Page4List.Handle()));
  EXPECT_TRUE(hidden(f.Page4Label01.Handle()));
}

// Enter and Space run a link once, held or not, and a menu a key opens waits for the user: the
// character the key makes must not reach the menu's own loop as its answer.
TEST_F(KeyboardTest, EnterAndSpaceRunLinksOnceAndMenusOpenedByKeysWaitForTheUser) {
  TForm1& f = OpenWithRealMenu();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));  // no help file here
  const struct {
    const char* why;
    int page;
    const Control* focus;  // made with its page
    UINT key;
    unsigned modifiers;
    int held;  // key-downs before the key-up
    std::string request;
  } cases[] = {
      {"the web site by Enter", 5, &f.Page6Label06, VK_RETURN, 0, 1,
       "open https://www.tellwick.com/"},
      {"the mail by Space", 5, &f.Page6Label08, VK_SPACE, 0, 1,
       "open mailto:support@tellwick.com?subject=Orvendel v2.1"},
      {"Help by Enter", 5, &f.HelpLabel, VK_RETURN, 0, 1, "message Help file not found!"},
      {"Help by Enter held", 5, &f.HelpLabel, VK_RETURN, 0, 3, "message Help file not found!"},
      {"Save report by Space", 5, &f.SaveLabel, VK_SPACE, 0, 1, "Save menu open a second"},
      {"Save report by Enter", 0, &f.SaveLabel, VK_RETURN, 0, 1, "Save menu open a second"},
      {"Save report by Enter held", 0, &f.SaveLabel, VK_RETURN, 0, 3, "Save menu open a second"},
      {"Save report by Space held", 0, &f.SaveLabel, VK_SPACE, 0, 3, "Save menu open a second"},
      {"the Menu key on the process box", 2, &f.Page3List, VK_APPS, 0, 1,
       "lists' menu open a second"},
      {"Shift+F10 on the startup list", 3, &f.Page4List, VK_F10, kShift, 1,
       "lists' menu open a second"},
  };
  for (const auto& c : cases) {
    f.Pages.SetActiveIndex(c.page);
    SetFocus(c.focus->Handle());
    test::TakeInput();
    menuOutside = RealMenuOutside();
    Press(c.key, c.modifiers, c.held);
    std::vector<std::string> requests;
    for (const auto& o : menuOutside.opened) requests.push_back("open " + o.target);
    for (const auto& m : menuOutside.messages) requests.push_back("message " + m.text);
    for (std::size_t i = 0; i < menuOutside.popups.size(); ++i) {
      requests.push_back(std::string(menuOutside.popups[i].menu == f.SaveMenu.Handle()
                                         ? "Save menu"
                                         : "lists' menu") +
                         (menuOutside.openASecondLater[i] ? " open a second" : " closed at once"));
    }
    EXPECT_EQ(requests, std::vector<std::string>{c.request}) << c.why;
  }
}

TEST_F(KeyboardTest, ShortcutKeysWorkWhereverTheFocusIs) {
  TForm1& f = Open();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
  Language("[General]\r\n", "Orvendex.chm");  // a help file to open
  Press(VK_TAB);                              // away from the tabs, onto a link
  ASSERT_EQ(GetFocus(), f.Page1Label14.Handle());

  const struct {
    const char* why;
    UINT key;
    unsigned modifiers;
    int page;            // the active page afterwards
    int generalShows;    // how often the General page has been filled by then
    std::string opened;  // what the shell was asked to open, if anything
  } keys[] = {
      {"F1 opens the help file", VK_F1, kNoModifier, 0, 1, "Orvendex.chm"},
      {"F5 fills the page again", VK_F5, kNoModifier, 0, 2, ""},
      {"Ctrl+PgDn: next page", VK_NEXT, kCtrl, 1, 2, ""},
      {"Ctrl+PgUp: back", VK_PRIOR, kCtrl, 0, 3, ""},
      {"Ctrl+Shift+Tab: back, round to the last", VK_TAB, kCtrl | kShift, 5, 3, ""},
      {"Ctrl+Tab: next, round to the first", VK_TAB, kCtrl, 0, 4, ""},
  };
  for (const auto& k : keys) {
    outside.opened.clear();
    Press(k.key, k.modifiers);
    EXPECT_EQ(f.Pages.ActiveIndex(), k.page) << k.why;
    EXPECT_EQ(f.PageShowCount[0], k.generalShows) << k.why;
    EXPECT_EQ(outside.opened.empty() ? std::string() : outside.opened[0].target, k.opened) << k.why;
  }
}

TEST_F(KeyboardTest, CtrlSThenArrowsAndEnterSavesAReport) {
  menuOutside.keysInMenu = {VK_DOWN, VK_DOWN, VK_RETURN};
  const std::string base = dir + "\\KeyReport";
  menuOutside.saveAnswer = base;
  OpenWithRealMenu();
  Press('S', kCtrl);
  ASSERT_EQ(menuOutside.popups.size(), 1u);
  EXPECT_EQ(menuOutside.popups[0].menu, form->SaveMenu.Handle());
  // The second item: the HTML report, saved and opened.
  ASSERT_EQ(menuOutside.opened.size(), 1u);
  EXPECT_EQ(menuOutside.opened[0].target, base + ".html");
  created.push_back(base + ".html");
  EXPECT_GT(test::FileBytes(base + ".html").size(), 1000u);
}

TEST_F(KeyboardTest, CtrlCCopiesTheStartupRowsWithTheirHeaders) {
  ASSERT_TRUE(registry
                  .At(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                      KEY_WOW64_64KEY)
                  .SetSz("OrvKeyCopy", "C:\\Tools\\orv copy.exe /quiet"));
  char user[256] = {};
  DWORD size = sizeof(user);
  GetUserNameA(user, &size);
  TForm1& f = Open();
  f.Pages.SetActiveIndex(3);
  Application::Instance().ProcessMessages();
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), f.Page4List.Handle());
  const int row = test::RowWith(f.Page4List, {{2, "OrvKeyCopy"}});
  ASSERT_GE(row, 0);
  const std::string header = "User\tProgram\tLocation\r\n";
  const std::string line = std::string(user) + "\tOrvKeyCopy\tC:\\Tools\\orv copy.exe /quiet\r\n";

  // The selected row.
  f.Page4List.Select(row);
  Press('C', kCtrl);
  EXPECT_EQ(test::ClipboardText(), header + line);
  EXPECT_EQ(test::ClipboardText(CF_UNICODETEXT), header + line);

  // Every row, after Ctrl+A.
  Press('A', kCtrl);
  EXPECT_EQ(f.Page4List.SelectedRows().size(), static_cast<std::size_t>(f.Page4List.Count()));
  Press('C', kCtrl);
  const std::string all = test::ClipboardText();
  EXPECT_EQ(test::Lines(all).size(), static_cast<std::size_t>(f.Page4List.Count()) + 2)
      << "the headers, the rows and the empty rest after the last CR LF";
  EXPECT_EQ(all.rfind(header, 0), 0u);
  EXPECT_NE(all.find("\n" + line), std::string::npos);

  // The Menu key opens the list's menu; its Copy does as Ctrl+C.
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  outside.popupAnswer = TForm1::kCopyId;
  Press(VK_APPS);
  ASSERT_EQ(outside.popups.size(), 1u);
  EXPECT_EQ(outside.popups[0].menu, f.ListMenu.Handle());
  EXPECT_EQ(test::ClipboardText(), all);
}

TEST_F(KeyboardTest, TheProcessBoxCopiesItsLinesWhenNothingIsSelectedAndHasTheListsMenu) {
  TForm1& f = Open();
  f.Sources.processPaths = test::FakeProcesses({"C:\\A\\one.exe", "C:\\B\\two.exe"});
  Press(VK_NEXT, kCtrl);
  Press(VK_NEXT, kCtrl);
  ASSERT_EQ(f.Pages.ActiveIndex(), 2);
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), f.Page3List.Handle());
  SendMessageA(f.Page3List.Handle(), EM_SETSEL, 0, 0);
  Press('C', kCtrl);
  EXPECT_EQ(test::ClipboardText(), "C:\\A\\one.exe\r\nC:\\B\\two.exe\r\n");
  SendMessageA(f.Page3List.Handle(), EM_SETSEL, 5, 12);
  Press(VK_INSERT, kCtrl);
  EXPECT_EQ(test::ClipboardText(), "one.exe");
  // The Menu key shows the lists' menu, not the text box's own.
  Press(VK_APPS);
  ASSERT_EQ(outside.popups.size(), 1u);
  EXPECT_EQ(outside.popups[0].menu, f.ListMenu.Handle());
}

TEST_F(KeyboardTest, TheFocusStaysOnItsControlThroughAFillAndARestore) {
  TForm1& f = Open();
  Press(VK_NEXT, kCtrl);
  ASSERT_EQ(f.Pages.ActiveIndex(), 1);
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), f.Page2Label02.Handle());
  // The fill hides every drive row and shows the listed ones again.
  Press(VK_F5);
  EXPECT_EQ(f.PageShowCount[1], 2);
  EXPECT_EQ(GetFocus(), f.Page2Label02.Handle());

  HWND title = Application::Instance().Handle();
  ShowWindow(title, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(title));
  PostMessageA(title, f.RestoreMessageId, 1125, 0);
  Application::Instance().ProcessMessages();
  ASSERT_FALSE(IsIconic(title));
  EXPECT_EQ(GetFocus(), f.Page2Label02.Handle());
}

// What a screen reader hears: the text, read as any window's, and the role.
TEST_F(KeyboardTest, ScreenReadersHearTheLinksAsLinksWithTheirTexts) {
  TForm1& f = Open();
  using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  const auto fromWindow = reinterpret_cast<FromWindowFn>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
  ASSERT_NE(fromWindow, nullptr);
  const struct {
    Label* label;
    const char* text;
    bool link;
  } cases[] = {
      {&f.Page1Label04, "", false},  // a field: plain text
      {&f.SaveLabel, "Save report", true},
      {&f.Page1Label14, "Download Pellory", true},
  };
  for (const auto& c : cases) {
    char text[256] = {};
    SendMessageA(c.label->Handle(), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    if (*c.text) {
      EXPECT_STREQ(text, c.text);
    }
    IAccessible* accessible = nullptr;
    ASSERT_EQ(fromWindow(c.label->Handle(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                         reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    accessible->get_accRole(self, &role);
    accessible->Release();
    const bool link = role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_LINK;
    if (c.link && !link && test::RunningOnWine()) {
      GTEST_SKIP() << "Wine's accessibility service does not apply role annotations";
    }
    EXPECT_EQ(link, c.link) << text;
  }
}

}  // namespace
}  // namespace orv
