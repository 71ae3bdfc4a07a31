// The real main window, created in the test's own process under Wine's null display driver, with
// the outside world (shell, message boxes, save dialog, pop-up menu) recorded instead of used and,
// where a case needs it, the system's folder answers replaced.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Maker.h"
#include "tests/support/ImportHook.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

// Tests that read a page's controls as they are before any fill make every page first
// (MakeEveryPage): only the General page is made with the window.
class FormTest : public test::WindowTest {};

// The windows directly inside each page, as the window system counts them.
std::vector<int> PageChildCounts(TForm1& f) {
  std::vector<int> counts;
  for (int index = 0; index < f.Pages.PageCount(); ++index) {
    int count = 0;
    for (HWND child = GetWindow(f.Pages.Page(index).Handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      ++count;
    }
    counts.push_back(count);
  }
  return counts;
}

HWND WINAPI CreateNoWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
                           LPVOID) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

const std::vector<std::pair<std::string, std::string>> kEnglish = {
    {"Page1Tab", "General"},
    {"Page1Label14", "Download Pellory"},
    {"Page1Label15", "to make your computer error-free and more efficient!"},
    {"Page2Tab", "Drives"},
    {"Page2Label01", "Drive A: Removable"},
    {"Page2Label02", "Drive C: Fixed"},
    {"Page2Label14", "Download Dravenna"},
    {"Page2Label15", "to recover deleted data data from hard disks and any type of storage media."},
    {"Page3Tab", "Memory"},
    {"Page3TopLabel", "Processes are the programs running now."},
    {"Page3Label05", "Download Kestrova"},
    {"Page3Label06", "Speed up your PC loading several times!"},
    {"Page4Tab", "Startup list"},
    {"Page4TopLabel",
     "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
     "are necessary, and their work may slow down the PC processing."},
    {"Page4Column0", ""},
    {"Page4Column1", "User"},
    {"Page4Column2", "Program"},
    {"Page4Column3", "Location"},
    {"Page4Label01", "Open folder"},
    {"Page4Label02", "Launch software"},
    {"Page4Label03", "Ask Google"},
    {"Page4Label04", "Download Lumarel"},
    {"Page4Label05", "to manage your startup list!"},
    {"Page5Tab", "Installed programs"},
    {"Page5TopLabel",
     "Here is the list of programs installed at your PC. You may delete them in the start menu "
     "or control panel."},
    {"Page5Column0", "Program"},
    {"Page5Column1", "Publisher"},
    {"Page5Label01", "Download Ferrowin"},
    {"Page5Label02", "to track applications installation and deinstallation!"},
    {"Page6Tab", "About"},
    {"Page6Label02", "Version: 2.2"},
    {"Page6Label05", "Internet:"},
    {"Page6Label07", "Email:"},
    {"HelpLabel", "Help"},
    {"SaveLabel", "Save report"},
    {"SaveAsTXTItem", "Save as text"},
    {"SaveAsHTMLItem", "Save as HTML"},
    {"CopyItem", "Copy\tCtrl+C"},
    {"SelectAllItem", "Select all\tCtrl+A"},
};

// Every creation-time caption as the window shows it, named as in kEnglish.
std::vector<std::pair<std::string, std::string>> Captions(TForm1& f) {
  const std::string shown[] = {
      f.Pages.PageCaption(0),       f.Page1Label14.Caption(),     f.Page1Label15.Caption(),
      f.Pages.PageCaption(1),       f.Page2Label01.Caption(),     f.Page2Label02.Caption(),
      f.Page2Label14.Caption(),     f.Page2Label15.Caption(),     f.Pages.PageCaption(2),
      f.Page3TopLabel.Caption(),    f.Page3Label05.Caption(),     f.Page3Label06.Caption(),
      f.Pages.PageCaption(3),       f.Page4TopLabel.Caption(),    f.Page4List.ColumnCaption(0),
      f.Page4List.ColumnCaption(1), f.Page4List.ColumnCaption(2), f.Page4List.ColumnCaption(3),
      f.Page4Label01.Caption(),     f.Page4Label02.Caption(),     f.Page4Label03.Caption(),
      f.Page4Label04.Caption(),     f.Page4Label05.Caption(),     f.Pages.PageCaption(4),
      f.Page5TopLabel.Caption(),    f.Page5List.ColumnCaption(0), f.Page5List.ColumnCaption(1),
      f.Page5Label01.Caption(),     f.Page5Label02.Caption(),     f.Pages.PageCaption(5),
      f.Page6Label02.Caption(),     f.Page6Label05.Caption(),     f.Page6Label07.Caption(),
      f.HelpLabel.Caption(),        f.SaveLabel.Caption(),        f.SaveAsTXTItem.Caption(),
      f.SaveAsHTMLItem.Caption(),   f.CopyItem.Caption(),         f.SelectAllItem.Caption()};
  std::vector<std::pair<std::string, std::string>> named;
  for (std::size_t i = 0; i < std::size(shown) && i < kEnglish.size(); ++i) {
    named.emplace_back(kEnglish[i].first, shown[i]);
  }
  return named;
}

// kEnglish with some targets changed.
std::vector<std::pair<std::string, std::string>> EnglishExcept(
    const std::vector<std::pair<std::string, std::string>>& changes) {
  auto expected = kEnglish;
  for (const auto& change : changes) {
    for (auto& row : expected) {
      if (row.first == change.first) row.second = change.second;
    }
  }
  return expected;
}

TEST_F(FormTest, TheSharedStateIsPreparedInCreationOrder) {
  std::vector<std::string> log;
  SystemQueries q;
  q.userName = [&] { return log.push_back("user"), std::string("User1"); };
  q.programPath = [&] { return log.push_back("program"), std::string("C:\\Orvendex.exe"); };
  q.windowsDirectory = [&] { return log.push_back("windows"), std::string("C:\\windows"); };
  q.systemDirectory = [&] {
    return log.push_back("system"), std::string("C:\\windows\\system32\\");
  };
  q.folderPath = [&](int id) {
    log.push_back("folder " + std::to_string(id));
    const std::map<int, std::string> known = {
        {kFolderProgramFiles, "C:\\Program Files (x86)"},
        {kFolderAppData, "C:\\Users\\User1\\AppData\\Roaming"},
        {kFolderProfile, "C:\\Users\\User1"}};
    return known.count(id) ? known.at(id) : std::string();
  };
  q.exactFolderPath = [&](int id) {
    log.push_back("folder " + std::to_string(id));
    return std::wstring();  // no Startup folders from the shell
  };
  q.readRegistryString = [&](HKEY root, const std::string& key, const std::string& value) {
    log.push_back(std::string(root == HKEY_CURRENT_USER ? "HKCU " : "HKLM ") + value);
    EXPECT_EQ(key, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\");
    if (root == HKEY_CURRENT_USER && value == "AltStartup") return std::wstring(L"D:\\Alt Startup");
    return std::wstring();
  };
  q.computerName = [&] { return log.push_back("computer"), std::string("PC-TEST"); };
  q.createShellLink = [&](ShellLink& link) {
    log.push_back("shell link");
    return link.Create();
  };
  TForm1& f = Make(q);

  EXPECT_EQ(log, (std::vector<std::string>{"user", "program", "windows", "system", "folder 38",
                                           "folder 26", "folder 40", "folder 7", "HKCU Startup",
                                           "HKCU AltStartup", "folder 24", "HKLM Startup",
                                           "HKLM Common Startup", "shell link", "computer"}));
  EXPECT_EQ(f.RestoreMessageId, RegisterWindowMessageA("QRVRestore"));
  EXPECT_EQ(f.CurrentUserName, "User1");
  EXPECT_EQ(f.AppDir, "C:\\");  // a program in a drive's root
  EXPECT_EQ(f.WinDir, "C:\\windows\\");
  EXPECT_EQ(f.SysDir, "C:\\windows\\system32\\");
  EXPECT_EQ(f.ProgramFilesDir, "C:\\Program Files (x86)\\");
  EXPECT_TRUE(f.Is64BitWindows);
  EXPECT_EQ(f.UserAppDataRoot, "C:\\Users\\User1\\AppData\\");
  EXPECT_EQ(f.UserProfileDir, "C:\\Users\\User1\\");
  EXPECT_EQ(f.CommandFolders().userProfile, f.UserProfileDir);
  EXPECT_EQ(f.UserStartupDir, "D:\\Alt Startup\\");
  EXPECT_EQ(f.CommonStartupDir, "\\");  // no source knows it
  EXPECT_TRUE(f.ShellLinkObject.Valid());
  EXPECT_TRUE(f.InstalledProgramList.empty());
  EXPECT_EQ(f.Caption(), "PC-TEST");
  // The language file of a program in a root: two backslashes in a row, which Windows reads.
  EXPECT_EQ(f.LanguageIni->Path(), "C:\\\\English.ini");
}

// A 32-bit program knows 64-bit Windows by its Program Files folder, which Windows then names
// "(x86)"; the 64-bit program runs on 64-bit Windows only. The release build takes both branches.
TEST_F(FormTest, SixtyFourBitWindowsIsKnownFromTheProgramFilesFolder) {
  const bool build64 = sizeof(void*) == 8;
  const struct {
    const char* why;
    const char* programFiles;
    bool expected;
  } cases[] = {
      {"64-bit Windows names the 32-bit folder (x86)", "C:\\Program Files (x86)", true},
      {"another language's name of it", "D:\\Programme (x86)", true},
      {"32-bit Windows has only Program Files", "C:\\Program Files", build64},
      {"no folder at all", "", build64},
  };
  for (const auto& c : cases) {
    SystemQueries q = InDir();
    q.folderPath = [&c](int id) {
      return std::string(id == kFolderProgramFiles ? c.programFiles : "C:\\Folder");
    };
    EXPECT_EQ(Make(q).Is64BitWindows, c.expected) << c.why;
  }
}

TEST_F(FormTest, FallbacksAreNotAskedWhenTheShellKnowsTheFolders) {
  SystemQueries q = InDir();
  q.folderPath = [](int id) { return "C:\\Folder" + std::to_string(id); };
  q.exactFolderPath = [](int id) { return L"C:\\Folder" + std::to_wstring(id); };
  int registryReads = 0;
  q.readRegistryString = [&](HKEY, const std::string&, const std::string&) {
    ++registryReads;
    return std::wstring(L"unused");
  };
  TForm1& f = Make(q);
  EXPECT_EQ(registryReads, 0);
  EXPECT_EQ(f.UserStartupDir, "C:\\Folder7\\");
  EXPECT_EQ(f.CommonStartupDir, "C:\\Folder24\\");
  EXPECT_EQ(f.UserAppDataRoot, "C:\\");
  // An empty application-data folder leaves a lone backslash.
  q.folderPath = [](int) { return std::string(); };
  TForm1& g = Make(q);
  EXPECT_EQ(g.UserAppDataRoot, "\\");
  EXPECT_EQ(g.UserProfileDir, "\\");  // no profile from the shell: the application-data root
  EXPECT_EQ(g.ProgramFilesDir, "\\");
}

TEST_F(FormTest, TheRealSystemGivesFoldersWithTrailingBackslashes) {
  TForm1& f = Make(SystemQueries::Real());
  std::string exeDir = test::ThisProgram();
  exeDir.erase(exeDir.rfind('\\'));
  EXPECT_EQ(f.AppDir, exeDir);
  for (const std::string* folder : {&f.WinDir, &f.SysDir, &f.ProgramFilesDir, &f.UserAppDataRoot,
                                    &f.UserProfileDir, &f.UserStartupDir, &f.CommonStartupDir}) {
    ASSERT_FALSE(folder->empty());
    EXPECT_EQ(folder->back(), '\\') << *folder;
  }
  // The profile is the folder the Startup folder lies in, not the application data's parent
  // (its "AppData" folder from Vista on, whose layout the prefix has).
  EXPECT_EQ(f.UserStartupDir.rfind(f.UserProfileDir, 0), 0u) << f.UserProfileDir;
  EXPECT_NE(f.UserProfileDir, f.UserAppDataRoot);
  EXPECT_TRUE(f.Is64BitWindows);  // the test prefix is a 64-bit Windows, for either build
  EXPECT_FALSE(f.CurrentUserName.empty());
  EXPECT_FALSE(f.Caption().empty());
  EXPECT_NE(f.Caption(), " System Information");
  EXPECT_TRUE(f.ShellLinkObject.Valid());
}

TEST_F(FormTest, WithoutALanguageFileEveryCaptionIsEnglish) {
  TForm1& f = Make();
  MakeEveryPage(f);
  EXPECT_EQ(f.LanguageIndex, 0);
  EXPECT_EQ(f.LanguageFileName, "English.ini");
  EXPECT_EQ(f.LanguageIni->Path(), dir + "\\English.ini");
  EXPECT_EQ(Captions(f), kEnglish);
  EXPECT_EQ(f.Pages.ActiveIndex(), 0);
  EXPECT_TRUE(f.Page4List.DoubleBuffered());
  EXPECT_TRUE(f.Page5List.DoubleBuffered());
}

TEST_F(FormTest, APartialLanguageFileChangesOnlyWhatItHolds) {
  ChooseLanguage(2);
  Language("[About]\r\nVersion=Ausgabe\r\n", "German.ini");
  TForm1& f = Make();
  EXPECT_EQ(f.LanguageIndex, 2);
  EXPECT_EQ(f.LanguageFileName, "German.ini");
  MakeEveryPage(f);
  EXPECT_EQ(Captions(f), EnglishExcept({{"Page6Label02", "Ausgabe: 2.2"}}));
}

TEST_F(FormTest, QuotedValuesLoseTheirQuotesAndEmptyValuesBlankTheCaption) {
  ChooseLanguage(1);
  Language(
      "[About]\r\nInternet=\"Web site\"\r\nVersion=\r\nE-mail=''\r\n"
      "[Report]\r\nSave='Keep report'\r\nSaveHtml=  Save as web page  \r\n"
      "[Drives]\r\nDrive=Laufwerk\r\nFixed=\r\n");
  TForm1& f = Make();
  MakeEveryPage(f);
  EXPECT_EQ(Captions(f), EnglishExcept({{"Page6Label05", "Web site:"},
                                        {"Page6Label02", ": 2.2"},
                                        {"Page6Label07", ":"},
                                        {"SaveLabel", "Keep report"},
                                        {"SaveAsHTMLItem", "Save as web page"},
                                        {"Page2Label01", "Laufwerk A: Removable"},
                                        {"Page2Label02", "Laufwerk C: "}}));
}

TEST_F(FormTest, LanguageIndexesOutsideOneToSixChooseEnglish) {
  Language("[General]\r\nGeneral=Overview\r\n");
  Language("[General]\r\nGeneral=Allgemein\r\n", "German.ini");
  for (DWORD index : {0u, 7u, 0xFFFFFFFFu}) {
    ChooseLanguage(index);
    TForm1& f = Make();
    EXPECT_EQ(f.LanguageIndex, static_cast<std::int32_t>(index));
    EXPECT_EQ(f.LanguageFileName, "English.ini");
    EXPECT_EQ(f.Pages.PageCaption(0), "Overview");
  }
  ChooseLanguage(2);
  EXPECT_EQ(Make().Pages.PageCaption(0), "Allgemein");
}

TEST_F(FormTest, AProgramInADriveRootFindsItsLanguageFile) {
  const std::string root = test::WindowsFolder().substr(0, 3);  // "C:\"
  const std::string path = root + "German.ini";
  test::WriteBytes(path, "[General]\r\nGeneral=Allgemein\r\n");
  created.push_back(path);
  ChooseLanguage(2);
  SystemQueries q = SystemQueries::Real();
  q.programPath = [root] { return root + "Orvendex.exe"; };
  TForm1& f = Make(q);
  EXPECT_EQ(f.AppDir, root);
  EXPECT_EQ(f.LanguageIni->Path(), root + "\\German.ini");
  EXPECT_EQ(f.Pages.PageCaption(0), "Allgemein");
}

TEST_F(FormTest, HelpSitsTenPixelsLeftOfSaveReportWhoseRightEdgeStaysAt516) {
  TForm1& f = Make();
  EXPECT_EQ(f.SaveLabel.Bounds().right, 516);
  EXPECT_EQ(f.HelpLabel.Left(), f.SaveLabel.Left() - f.HelpLabel.Width() - 10);
  EXPECT_EQ(f.HelpLabel.Top(), 436);

  ChooseLanguage(2);
  Language(
      "[About]\r\nHelp=Hilfe und Anleitung\r\n[Report]\r\nSave=Bericht als Datei speichern\r\n",
      "German.ini");
  TForm1& g = Make();
  EXPECT_GT(g.SaveLabel.Width(), f.SaveLabel.Width());
  EXPECT_EQ(g.SaveLabel.Bounds().right, 516);
  EXPECT_EQ(g.HelpLabel.Bounds().right, g.SaveLabel.Left() - 10);
}

TEST_F(FormTest, TheHelpLinkLooksForItsFileInTheCurrentDirectory) {
  TForm1& f = Make();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
  Click(f.HelpLabel);
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Help file not found!");
  EXPECT_EQ(outside.messages[0].caption, "Warning");
  EXPECT_EQ(outside.messages[0].style, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(outside.opened.empty());

  // A folder of that name is no help file.
  CreateDirectoryA((dir + "\\Orvendex.chm").c_str(), nullptr);
  Click(f.HelpLabel);
  EXPECT_EQ(outside.messages.size(), 2u);
  RemoveDirectoryA((dir + "\\Orvendex.chm").c_str());

  Language("ITSF", "Orvendex.chm");
  Click(f.HelpLabel);
  EXPECT_EQ(outside.messages.size(), 2u);
  ASSERT_EQ(outside.opened.size(), 1u);
  EXPECT_EQ(outside.opened[0].target, "Orvendex.chm");
  EXPECT_EQ(outside.opened[0].owner, f.Handle());
}

TEST_F(FormTest, SaveReportOpensItsMenuAtTheLabelsRightEdge) {
  TForm1& f = Make();
  outside.popupAnswer = TForm1::kSaveAsTxtId;
  Click(f.SaveLabel);
  RECT window{};
  GetWindowRect(f.Handle(), &window);
  ASSERT_EQ(outside.popups.size(), 1u);
  EXPECT_EQ(outside.popups[0].menu, f.SaveMenu.Handle());
  EXPECT_EQ(outside.popups[0].owner, f.Handle());
  EXPECT_EQ(outside.popups[0].x, window.left + f.SaveLabel.Left() + f.SaveLabel.Width());
  EXPECT_EQ(outside.popups[0].y, window.top + f.SaveLabel.Top());
  // The text item ran its writer, which asked for a file name first.
  EXPECT_EQ(outside.offeredFileNames, std::vector<std::string>{"Orvensys"});

  outside.popupAnswer = 0;  // dismissed: nothing more
  Click(f.SaveLabel);
  EXPECT_EQ(outside.offeredFileNames.size(), 1u);
  outside.popupAnswer = TForm1::kSaveAsHtmlId;
  Click(f.SaveLabel);
  EXPECT_EQ(outside.offeredFileNames.size(), 2u);
}

TEST_F(FormTest, LinksOpenTheMakersAddressesAndLeaveThePageAlone) {
  TForm1& f = Make();
  MakeEveryPage(f);
  f.Pages.SetActiveIndex(5);
  const std::string site = kMakerSite;
  const std::vector<std::pair<Label*, std::string>> links = {
      {&f.Page1Label14, site + "/pellory/index.html"},
      {&f.Page2Label14, site + "/dravenna/index.html"},
      {&f.Page3Label05, site + "/kestrova/index.html"},
      {&f.Page4Label04, site + "/lumarel/index.html"},
      {&f.Page5Label01, site + "/ferrowin/index.html"},
      {&f.Page6Label06, site + "/"},
      {&f.Page6Label08, "mailto:support@tellwick.com?subject=Orvendel v2.1"},
  };
  for (const auto& [label, target] : links) {
    outside.opened.clear();
    Click(*label);
    ASSERT_EQ(outside.opened.size(), 1u) << target;
    EXPECT_EQ(outside.opened[0].target, target);
    EXPECT_EQ(outside.opened[0].owner, f.Handle());
  }
  EXPECT_EQ(f.Page6Label06.Caption(), site);
  EXPECT_EQ(f.Pages.ActiveIndex(), 5);
}

TEST_F(FormTest, AnErrorInAHandlerIsShownInTheApplicationsErrorBox) {
  TForm1& f = Make();
  f.HelpLabel.OnClick = [](Label&) {
    throw std::runtime_error("Cannot create file \"x\". Access is denied");
  };
  Click(f.HelpLabel);
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Cannot create file \"x\". Access is denied.");
  EXPECT_EQ(outside.messages[0].caption, "Orvendel");
  EXPECT_EQ(outside.messages[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
  // The window carries on.
  EXPECT_TRUE(IsWindow(f.Handle()));
}

TEST_F(FormTest, WithoutTheShellLinkObjectTheWindowIsPreparedAllTheSame) {
  SystemQueries q = InDir();
  q.createShellLink = [](ShellLink&) { return REGDB_E_CLASSNOTREG; };
  q.computerName = [] { return std::string("PC-TEST"); };
  TForm1& f = Make(q);
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text.rfind("Cannot create the shell link object. ", 0), 0u);
  EXPECT_EQ(outside.messages[0].caption, "Orvendel");
  EXPECT_FALSE(f.ShellLinkObject.Valid());
  EXPECT_EQ(f.Caption(), "PC-TEST");
  MakeEveryPage(f);
  EXPECT_EQ(Captions(f), kEnglish);
}

// Every page's controls made with the window cost twice the start the user waits for.
TEST_F(FormTest, OnlyTheFirstViewIsMadeAtStartAndEachOtherPageOnceWhenFirstShown) {
  TForm1& f = Make();
  f.DriveLabels();  // reading a page's controls makes none
  std::vector<int> made = PageChildCounts(f);
  EXPECT_GT(made[0], 0);
  for (std::size_t page = 1; page < made.size(); ++page) {
    EXPECT_EQ(made[page], 0) << page;
    EXPECT_EQ(f.Pages.Page(static_cast<int>(page)).Handle(), nullptr) << "page " << page;
  }
  f.Show();
  for (int shown = 1; shown < f.Pages.PageCount(); ++shown) {
    UserPicksTab(f, shown);
    const std::vector<int> now = PageChildCounts(f);
    EXPECT_GT(now[shown], 0) << "page " << shown << " shown, not made";
    made[shown] = now[shown];
    EXPECT_EQ(now, made) << "other pages changed by showing " << shown;
  }
  // Shown again, read again: nothing is made twice.
  for (int shown = 0; shown < f.Pages.PageCount(); ++shown) UserPicksTab(f, shown);
  f.RefreshKeyPress();
  EXPECT_EQ(PageChildCounts(f), made);
}

// A window that came on screen before its rows were filled would show them empty first, and keep
// a screen reader or another program waiting for its answers while it fills.
TEST_F(FormTest, TheWindowComesOnScreenWithItsGeneralRowsFilled) {
  TForm1& f = Make();
  std::vector<bool> onScreenWhileFilling;
  f.Sources.general.computerName = [&] {
    onScreenWhileFilling.push_back(IsWindowVisible(f.Handle()) != FALSE);
    return std::string("PC-TEST");
  };
  f.Show();
  EXPECT_TRUE(IsWindowVisible(f.Handle()));
  EXPECT_EQ(onScreenWhileFilling, std::vector<bool>{false});
  EXPECT_EQ(f.Page1Label04.Caption(), "Computer name: PC-TEST");
  EXPECT_EQ(f.PageShowCount[0], 1);
}

TEST_F(FormTest, APageWhoseControlsCannotBeMadeSaysSoAndGivesNoReport) {
  TForm1& f = Make();
  f.Show();
  {
    test::ImportHook hook("user32.dll", "CreateWindowExA",
                          reinterpret_cast<void*>(&CreateNoWindow));
    ASSERT_TRUE(hook.Ok());
    UserPicksTab(f, 1);
  }
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Cannot create the controls of the page \"Drives\".");
  EXPECT_EQ(outside.messages[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
  // Not tried again beside what may exist, and a report that would miss the page is not written.
  UserPicksTab(f, 1);
  EXPECT_EQ(PageChildCounts(f)[1], 0);
  outside.saveAnswer = dir + "\\report";
  f.SaveAsTXTItem.Click();
  EXPECT_EQ(outside.messages.size(), 3u);
  EXPECT_EQ(GetFileAttributesA((dir + "\\report.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(IsWindow(f.Handle()));
}

TEST_F(FormTest, EachPageIsFilledEachTimeItIsShown) {
  TForm1& f = Make();
  EXPECT_EQ(f.PageShowCount, (std::array<int, 6>{}));  // nothing before the window is shown
  f.Show();
  EXPECT_EQ(f.PageShowCount, (std::array<int, 6>{1, 0, 0, 0, 0, 0}));
  UserPicksTab(f, 2);
  UserPicksTab(f, 0);
  UserPicksTab(f, 5);  // About has no show handler
  UserPicksTab(f, 2);
  EXPECT_EQ(f.PageShowCount, (std::array<int, 6>{2, 0, 2, 0, 0, 0}));
}

TEST_F(FormTest, RequestsDuringAFillWaitForItAndRunOnce) {
  TForm1& f = Make();
  f.Show();
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));  // no help file: the Help link shows a box
  bool closedDuringFill = false;
  f.RunRequest("fake fill", [&] {
    // What the user does while a long fill lets messages through.
    PostClick(f.Page1Label14);
    PostClick(f.HelpLabel);
    PostClick(f.HelpLabel);
    PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
    for (int item = 0; item < 3; ++item) {
      f.ProcessMessages();
      UserPicksTab(f, 3);  // a tab click let through by the fill
    }
    EXPECT_TRUE(f.FillRunning());
    EXPECT_TRUE(outside.messages.empty());
    EXPECT_TRUE(outside.opened.empty());
    EXPECT_EQ(f.PageShowCount[3], 0);
    EXPECT_TRUE(f.ClosePending());
    closedDuringFill = !IsWindow(f.Handle());
  });
  EXPECT_FALSE(closedDuringFill);
  EXPECT_FALSE(f.FillRunning());
  // After the fill, each request once, in the order they came.
  EXPECT_EQ(outside.opened.size(), 1u);
  EXPECT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(f.PageShowCount[3], 1);
  // The close waited for the fill and happens now.
  EXPECT_TRUE(IsWindow(f.Handle()));
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_FALSE(IsWindow(f.Handle()));
  EXPECT_FALSE(f.LanguageIni.has_value());  // DestroyForm ran
}

TEST_F(FormTest, TheWindowAndItsDesignTimeControls) {
  TForm1& f = Make();
  MakeEveryPage(f);
  RECT client{};
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(client.right, 528);
  EXPECT_EQ(client.bottom, 460);
  const LONG_PTR style = GetWindowLongPtrA(f.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrA(f.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(DescribeFont(f.WindowFont()), (FontSpec{"Arial", 11, false, false}));

  EXPECT_EQ(f.LogoLabel.Caption(), "Orvendel");
  EXPECT_EQ(f.LogoLabel.Style().color, RGB(0, 0, 128));
  EXPECT_EQ(DescribeFont(f.LogoLabel.Font()), (FontSpec{"Arial", 16, true, false}));
  EXPECT_EQ(f.LogoLabel.Left(), 24);
  EXPECT_EQ(f.ProduceLabel.Caption(), kCopyrightLine);
  EXPECT_EQ(f.Pages.Bounds().left, 16);
  EXPECT_EQ(f.Pages.Bounds().top, 32);
  EXPECT_EQ(f.Pages.Width(), 500);
  EXPECT_EQ(f.Pages.PageCount(), 6);
  EXPECT_EQ(DescribeFont(f.HelpLabel.Font()), (FontSpec{"Arial", 13, true, true}));
  EXPECT_EQ(f.HelpLabel.Cursor(), CursorKind::Hand);

  // Drives: the first row visible; the nine slots hidden and marked until the first show.
  EXPECT_TRUE(f.Page2Label01.Visible());
  for (Label* slot : f.DriveLabels()) {
    EXPECT_FALSE(slot->Visible());
    EXPECT_TRUE(slot->Underlined());
    EXPECT_EQ(slot->Cursor(), CursorKind::Hand);
  }
  EXPECT_EQ(f.Page2Label09.Caption(), "Drive j:");
  EXPECT_EQ(f.Page2Label09.Top(), 208);
  EXPECT_EQ(f.DriveLabelLetter[7], 'J');
  EXPECT_EQ(f.Page2Label11.Caption(), "Drive size:");
  EXPECT_EQ(f.DriveChart.Model().title, "TChart");
  EXPECT_TRUE(f.DriveChart.Model().points.empty());

  // Memory
  EXPECT_EQ(f.Page3List.Lines(), std::vector<std::string>{""});
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes:");
  EXPECT_EQ(f.Page3Label03.Caption(), "Virtual Memory:");
  EXPECT_EQ(f.MemoryChart.Model().title, "");
  EXPECT_EQ(f.MemoryChart.Model().marks, PieMarks::LabelAndValue);

  // Startup and Programs lists share one image list.
  EXPECT_EQ(f.Page4List.ColumnCount(), 4);
  EXPECT_EQ(f.Page4List.ColumnWidth(3), 240);
  EXPECT_EQ(f.Page5List.ColumnWidth(0), 300);
  EXPECT_EQ(ListView_GetImageList(f.Page4List.Handle(), LVSIL_SMALL), f.ImageList1.Handle());
  EXPECT_EQ(ListView_GetImageList(f.Page5List.Handle(), LVSIL_SMALL), f.ImageList1.Handle());
  EXPECT_EQ(DescribeFont(f.Page4Label01.Font()), (FontSpec{"Verdana", 11, true, true}));
  EXPECT_EQ(f.Page4Label02.Left(), 174);

  // About
  EXPECT_EQ(f.Page6Label05.Bounds().right, 271);
  EXPECT_EQ(f.Page6Label07.Bounds().right, 269);
  EXPECT_EQ(f.Page6Label06.Left(), 280);
  EXPECT_EQ(f.Page6Label08.Caption(), kSupportMail);

  // Pictures from the program's resources.
  EXPECT_EQ(f.Image1.Width(), 128);
  EXPECT_EQ(f.Image1.Height(), 88);
  EXPECT_EQ(f.Page6Image.Width(), 128);
  EXPECT_EQ(f.Page6Image.Height(), 128);
  EXPECT_TRUE(f.Page6Image.HasAlpha());

  EXPECT_EQ(f.SaveDialog1.FileName, "Orvensys");
  EXPECT_EQ(f.Bevel3.Top(), 328);
  EXPECT_EQ(f.Bevel3.Width(), 454);
}

TEST_F(FormTest, DestroyFormFreesTheLanguageFileAndTheList) {
  TForm1& f = Make();
  f.InstalledProgramList.push_back("Program|Publisher|M|\\key|uninstall");
  f.Close();
  EXPECT_FALSE(IsWindow(f.Handle()));
  EXPECT_FALSE(f.LanguageIni.has_value());
  EXPECT_TRUE(f.InstalledProgramList.empty());
}

TEST_F(FormTest, TheRestoreRequestActsOnlyWithItsOwnWParam) {
  TForm1& f = Open(outside);
  Application& app = Application::Instance();
  HWND title = app.Handle();

  ShowWindow(title, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(title));
  PostMessageA(title, f.RestoreMessageId, 1124, 0);
  PostMessageA(title, RegisterWindowMessageA("SomethingElse"), 1125, 0);
  app.ProcessMessages();
  EXPECT_TRUE(IsIconic(title));

  PostMessageA(title, f.RestoreMessageId, 1125, 0);
  app.ProcessMessages();
  EXPECT_FALSE(IsIconic(title));
  EXPECT_TRUE(IsWindowVisible(f.Handle()));
  EXPECT_EQ(GetForegroundWindow(), f.Handle());
}

}  // namespace
}  // namespace orv
