// "Save report" in the real window: real files saved into the test prefix through both writers,
// the names they get, the failures that must leave the previous report as it was (a missing
// folder, a read-only target, a full disk, a failing page), requests arriving meanwhile, the
// seeded rows of the Startup and Installed programs pages, and once the system's own save dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/Handles.h"
#include "pages/DriveText.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"
#include "tests/support/WindowWalk.h"
#include "ui/SystemErrorText.h"

namespace orv {
namespace {

constexpr std::int64_t kGb = 1073741824;
constexpr char kDriveLine[] =
    "Drive C: Fixed (NTFS) Drive size: 500 Gb Used: 375 Gb (75 %) Free: 125 Gb (25 %)";

using test::FileBytes;
using test::FilesIn;
using test::Sorted;
using test::WriteBytes;

class ReportPageTest : public test::WindowTest {
 protected:
  // The window with one fixed 500 Gb drive C: and a CD-ROM D:, fixed memory figures and one
  // process; computerName answers differently after creation. log records the page queries.
  TForm1& MakeReporting(Outside& world) {
    SystemQueries queries = InDir();
    queries.computerName = [this] { return names++ ? std::string("NOW<&>") : std::string("THEN"); };
    TForm1& f = Make(std::move(queries), world);
    f.Sources.general.productName = [this] {
      log.push_back("general");
      return std::string("Microsoft Windows 7");
    };
    f.Sources.logicalDrives = [this] {
      log.push_back("drives");
      return std::uint32_t{0b1100};
    };
    f.Sources.driveType = [](const std::string& root) {
      return root[0] == 'C' ? DRIVE_FIXED : DRIVE_CDROM;
    };
    f.Sources.fsKind = [](const std::string&) { return kFsNtfs; };
    f.Sources.driveSpace = [this](char letter, std::int64_t& size, std::int64_t& free) {
      log.push_back(std::string("space ") + letter);
      size = 500 * kGb;
      free = 125 * kGb;
    };
    f.Sources.memoryLoad = [this] {
      log.push_back("memory");
      return std::uint8_t{40};
    };
    f.Sources.totalPhysicalMemory = [] { return std::uint64_t{1} << 32; };
    f.Sources.totalVirtualMemory = [] { return std::uint64_t{1} << 43; };
    f.Sources.processPaths = [this](const std::function<void()>& beforeEach) {
      beforeEach();
      // Runs once: taken out first, as it may start another report.
      if (const auto during = std::exchange(duringProcesses, nullptr)) during();
      return std::vector<std::string>{"C:\\windows\\explorer.exe"};
    };
    return f;
  }
  TForm1& MakeReporting() { return MakeReporting(outside); }

  // A save through the menu as the user makes it, the dialog answering answer.
  void Save(TForm1& f, bool html, const std::string& answer) {
    outside.saveAnswer = answer;
    (html ? f.SaveAsHTMLItem : f.SaveAsTXTItem).Click();
  }

  std::string Path(const std::string& name) const { return dir + "\\" + name; }
  void Expect(const std::string& name) { created.push_back(Path(name)); }

  int names = 0;
  std::vector<std::string> log;
  std::function<void()> duringProcesses;
};

TEST_F(ReportPageTest, BothFormatsHoldTheRefreshedPagesAndAreOpened) {
  TForm1& f = MakeReporting();
  SaveBoth(f, Path("report"));
  ASSERT_TRUE(outside.messages.empty()) << outside.messages[0].text;

  // Each page refreshed right before its section, both times, the drive figures of C: only.
  const std::vector<std::string> once = {"general", "drives", "space C", "space C", "memory"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(log, twice);
  EXPECT_EQ(outside.offeredFileNames, (std::vector<std::string>{"Orvensys", Path("report")}));
  EXPECT_EQ(f.SaveDialog1.FileName, Path("report"));
  ASSERT_EQ(outside.opened.size(), 2u);
  EXPECT_EQ(outside.opened[0].target, Path("report.txt"));
  EXPECT_EQ(outside.opened[1].target, Path("report.html"));
  EXPECT_EQ(outside.opened[1].owner, f.Handle());

  const std::string general = "************ General ***************\r\n\r\n" +
                              f.Page1Label01.Caption() + "\r\n" + f.Page1Label02.Caption();
  const std::string text = FileBytes(Path("report.txt"));
  EXPECT_EQ(text.rfind(general, 0), 0u) << text;
  for (const std::string& part :
       {"\r\n" + f.Page1Label13.Caption() + "\r\n\r\n************** Drives **************\r\n\r\n" +
            kDriveLine +
            "\r\n\r\n************** Memory **************\r\n\r\nMemory size: "
            "4096 Mb\r\nUsed: 40 % , Free: 60 %\r\nVirtual memory: 8388608 Mb\r\n" +
            f.Page3Label04.Caption() + "\r\nC:\\windows\\explorer.exe\r\n\r\n",
        std::string("************** Installed programs **************\r\n\r\n")}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");

  const std::string html = FileBytes(Path("report.html"));
  const std::string head =
      "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=windows-" +
      std::to_string(GetACP()) + "\">\r\n<title>NOW&lt;&amp;&gt;</title>";
  EXPECT_EQ(html.rfind(head, 0), 0u) << html;
  EXPECT_NE(html.find(std::string("\r\n") + kDriveLine + "\r\n<br>\r\n<br>\r\n"),
            std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 26), "<br>\r\n\r\n</body>\r\n</html>\r\n");
  EXPECT_EQ(f.Page2Label11.Caption(), "Drive size: 500 Gb");  // the pages stay refreshed
}

// A page is made when first shown; a report reads pages the user may never have opened, and
// must read them as if they had been shown.
TEST_F(ReportPageTest, AReportOfPagesNeverShownIsTheSameAsAfterShowingEveryPage) {
  for (const char* name : {"fresh", "shown"}) {
    TForm1& f = MakeReporting();
    if (std::string(name) == "shown") {
      f.Show();
      for (int page = 1; page < f.Pages.PageCount(); ++page) UserPicksTab(f, page);
    }
    SaveBoth(f, Path(name));
  }
  ASSERT_TRUE(outside.messages.empty()) << outside.messages[0].text;
  for (const char* extension : {".txt", ".html"}) {
    const std::string fresh = FileBytes(Path(std::string("fresh") + extension));
    EXPECT_NE(fresh.find("Drive C: Fixed (NTFS)"), std::string::npos) << fresh;
    EXPECT_EQ(fresh, FileBytes(Path(std::string("shown") + extension))) << extension;
  }
}

TEST_F(ReportPageTest, NamesGetTheExtensionAppendedAndASecondSaveReplacesTheFirst) {
  struct Case {
    bool html;
    const char* typed;
    const char* saved;
  };
  const Case cases[] = {{false, "report.txt", "report.txt.txt"},
                        {true, "report.html", "report.html.html"},
                        {false, "plain", "plain.txt"}};
  TForm1& f = MakeReporting();
  for (const Case& c : cases) {
    Expect(c.saved);
    WriteBytes(Path(c.saved), "previous report");
    Save(f, c.html, Path(c.typed));
    Save(f, c.html, Path(c.typed));
    const std::string saved = FileBytes(Path(c.saved));
    EXPECT_EQ(saved.find("previous"), std::string::npos) << c.saved;
    EXPECT_NE(saved.find(kDriveLine), std::string::npos) << c.saved;
    EXPECT_EQ(f.SaveDialog1.FileName, Path(c.typed));
  }
  EXPECT_TRUE(outside.messages.empty());
  EXPECT_EQ(Sorted(FilesIn(dir)),
            (std::vector<std::string>{"plain.txt", "report.html.html", "report.txt.txt"}));
}

TEST_F(ReportPageTest, CancellingRefreshesNothingAndWritesNothing) {
  TForm1& f = MakeReporting();
  f.Show();
  const auto shows = f.PageShowCount;
  log.clear();
  outside.saveAnswer.reset();
  f.SaveAsTXTItem.Click();
  f.SaveAsHTMLItem.Click();
  EXPECT_EQ(outside.offeredFileNames.size(), 2u);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(f.PageShowCount, shows);
  EXPECT_TRUE(outside.opened.empty());
  EXPECT_TRUE(outside.messages.empty());
  EXPECT_TRUE(FilesIn(dir).empty());
}

// A failed save shows the error box, opens nothing and leaves the folder as it was: the previous
// report unchanged and no new or temporary file.
TEST_F(ReportPageTest, FailuresKeepThePreviousReportAndLeaveNoFileBehind) {
  struct Case {
    const char* name;
    std::string typed;
    std::function<void()> before;
    std::vector<std::string> messages;  // any of them
  };
  UniqueFile lock;
  const std::string readOnly = Path("kept.txt");
  const std::string folder = Path("folder.txt");
  Expect("kept.txt");
  WriteBytes(readOnly, "previous report");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(folder.c_str(), nullptr);
  const auto cannot = [](const std::string& path, DWORD error) {
    return "Cannot create file \"" + path + "\". " + SystemErrorText(error) + ".";
  };
  Case cases[] = {
      {"missing folder",
       Path("missing\\report"),
       nullptr,
       {cannot(Path("missing\\report.txt"), ERROR_PATH_NOT_FOUND)}},
      {"read-only target", Path("kept"), nullptr, {cannot(readOnly, ERROR_ACCESS_DENIED)}},
      {"folder of that name", Path("folder"), nullptr, {cannot(folder, ERROR_ACCESS_DENIED)}},
      {"target open elsewhere",
       Path("kept"),
       [&] {
         SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
         lock.Reset(CreateFileA(readOnly.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
       },
       {cannot(readOnly, ERROR_ACCESS_DENIED), cannot(readOnly, ERROR_SHARING_VIOLATION)}},
      {"a page fill fails",
       Path("kept"),
       [&] {
         lock.Reset();
         form->Sources.memoryLoad = []() -> std::uint8_t { throw std::runtime_error("No load"); };
       },
       {"No load."}},
  };
  TForm1& f = MakeReporting();
  for (Case& c : cases) {
    if (c.before) c.before();
    outside.messages.clear();
    Save(f, false, c.typed);
    ASSERT_EQ(outside.messages.size(), 1u) << c.name;
    EXPECT_NE(std::find(c.messages.begin(), c.messages.end(), outside.messages[0].text),
              c.messages.end())
        << c.name << ": " << outside.messages[0].text;
    EXPECT_EQ(outside.messages[0].caption, "Orvendel");
    EXPECT_EQ(outside.messages[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(FileBytes(readOnly), "previous report") << c.name;
    EXPECT_EQ(Sorted(FilesIn(dir)), (std::vector<std::string>{"folder.txt", "kept.txt"})) << c.name;
  }
  EXPECT_TRUE(outside.opened.empty());
  EXPECT_EQ(f.Page2Label11.Caption(), "Drive size: 500 Gb");  // the pages stay refreshed
  RemoveDirectoryA(folder.c_str());
}

TEST_F(ReportPageTest, AFullDiskKeepsThePreviousReport) {
  if (!test::RunningOnWine()) GTEST_SKIP() << "the full disk is a tmpfs mounted through Wine";
  const std::string unixDir = "/tmp/orv-full-disk-" + std::to_string(GetCurrentProcessId());
  // Wine starts a Unix program without a process handle to wait on: the script's exit code
  // comes back through a file.
  const auto shell = [unixDir](const std::string& script) {
    static int calls = 0;
    const std::string marker = unixDir + "-" + std::to_string(++calls) + ".rc";
    std::string line = "/bin/sh -c \"(" + script + "); echo $? > " + marker + ".part; mv " +
                       marker + ".part " + marker + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
      return -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::string windowsMarker = "Z:" + marker;
    std::replace(windowsMarker.begin(), windowsMarker.end(), '/', '\\');
    for (int i = 0; i < 1500; ++i) {
      const std::string code = FileBytes(windowsMarker);
      if (!code.empty()) {
        DeleteFileA(windowsMarker.c_str());
        return std::atoi(code.c_str());
      }
      Sleep(20);
    }
    return -1;
  };
  // Removed again however the test ends, also after a mount whose answer got lost.
  struct Unmount {
    std::function<int(const std::string&)> shell;
    std::string dir;
    ~Unmount() {
      shell("mountpoint -q " + dir + " && { umount " + dir + " || umount -l " + dir +
            "; }; rmdir " + dir + " 2>/dev/null; exit 0");
    }
  } unmount{shell, unixDir};
  const int mounted = shell("[ $(id -u) = 0 ] || exit 3; mkdir -p " + unixDir +
                            " && mount -t tmpfs -o size=64k orvfull " + unixDir);
  if (mounted == 3) GTEST_SKIP() << "mounting the small full disk needs root";
  ASSERT_EQ(mounted, 0) << "mount of a tmpfs at " << unixDir;

  const char letter = test::FreeLetterFrom('M');
  ASSERT_NE(letter, 0);
  test::ScopedWineDrive drive(letter, unixDir, DRIVE_FIXED);
  ASSERT_TRUE(drive.Ok());
  const std::string target = std::string{letter, ':', '\\'} + "report.txt";
  WriteBytes(target, "previous report");
  ASSERT_EQ(shell("dd if=/dev/zero of=" + unixDir + "/fill bs=4096 2>/dev/null; exit 0"), 0);

  TForm1& f = MakeReporting();
  Save(f, false, std::string{letter, ':', '\\'} + "report");
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Stream write error.");
  EXPECT_EQ(FileBytes(target), "previous report");
  EXPECT_EQ(FilesIn(std::string{letter, ':'}), (std::vector<std::string>{"fill", "report.txt"}));
  EXPECT_TRUE(outside.opened.empty());
}

TEST_F(ReportPageTest, ATabChangeAndASecondSaveDuringTheReportWaitForIt) {
  TForm1& f = MakeReporting();
  f.Show();
  const auto shows = f.PageShowCount;
  Expect("first.txt");
  Expect("first.html");
  duringProcesses = [&] {
    UserPicksTab(f, 1);
    f.SaveAsHTMLItem.Click();
    EXPECT_EQ(outside.offeredFileNames.size(), 1u);  // the second save has not begun
    EXPECT_EQ(f.PageShowCount, shows);
  };
  Save(f, false, Path("first"));
  EXPECT_EQ(outside.offeredFileNames.size(), 2u);
  EXPECT_EQ(f.PageShowCount[1], shows[1] + 1);
  ASSERT_EQ(outside.opened.size(), 2u);
  EXPECT_EQ(outside.opened[1].target, Path("first.html"));
}

// These rows come from the real Startup and Installed programs pages and the real registry.
TEST_F(ReportPageTest, SeededRowsAreEscapedInHtmlAndUnchangedInText) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvReportTest";
  const auto entry = registry.Fresh(HKEY_CURRENT_USER, key);
  ASSERT_TRUE(entry.SetSz("DisplayName", "Tom & Jerry <Beta>") && entry.SetSz("Publisher", "") &&
              entry.SetSz("UninstallString", "C:\\tj\\uninstall.exe"));

  TForm1& f = MakeReporting();
  // A shortcut that cannot be loaded gives a startup row without location.
  CreateDirectoryA(f.UserStartupDir.c_str(), nullptr);
  const std::string broken = f.UserStartupDir + "Orv broken.lnk";
  WriteBytes(broken, "not a shortcut");
  created.push_back(broken);
  SaveBoth(f, Path("rows"));
  ASSERT_TRUE(outside.messages.empty());
  const std::string text = FileBytes(Path("rows.txt"));
  EXPECT_NE(text.find("\r\nTom & Jerry <Beta> - \r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nOrv broken.lnk - \r\n"), std::string::npos) << text;
  const std::string html = FileBytes(Path("rows.html"));
  EXPECT_NE(html.find("\r\nTom &amp; Jerry &lt;Beta&gt; - \r\n<br>\r\n"), std::string::npos);
  EXPECT_EQ(html.find("<Beta>"), std::string::npos);
}

// The system's own save dialog, driven by a second thread as a user would.
class DialogOutside : public test::RecordingOutside {
 public:
  bool AskSaveFileName(HWND owner, std::string& fileName) override {
    return RealOutside().AskSaveFileName(owner, fileName);
  }
};

// The dialog's file name box: edt1, or the edit inside the file name combo box cmb13.
HWND FileNameBox(HWND dialog) {
  for (HWND child : test::ChildrenOf(dialog)) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    const int id = GetDlgCtrlID(child);
    if (lstrcmpiA(name, "Edit") == 0 && (id == 0x480 || id == 0x47C)) return child;
  }
  return nullptr;
}

// Runs *task on a thread of its own: the compilers' win32 thread model has no std::thread.
template <typename Task>
DWORD WINAPI RunTask(LPVOID task) {
  (*static_cast<Task*>(task))();
  return 0;
}

TEST_F(ReportPageTest, TheSystemsSaveDialogOffersTheDefaultNameAndSavesTheTypedOne) {
  DialogOutside world;
  TForm1& f = MakeReporting(world);
  Expect("typed.txt");
  std::string shownName;
  auto user = [&] {
    // The dialog is ready once it is on screen and its file name box holds the offered name.
    HWND dialog = nullptr;
    HWND box = nullptr;
    const auto ready = [&] {
      dialog = FindWindowA("#32770", nullptr);
      box = dialog && GetWindow(dialog, GW_OWNER) == f.Handle() && IsWindowVisible(dialog)
                ? FileNameBox(dialog)
                : nullptr;
      shownName = box ? test::WindowText(box) : "";
      return !shownName.empty();
    };
    if (!test::WaitUntil(ready, 15000)) {
      if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Path("typed").c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  };
  const UniqueHandleNull thread(
      CreateThread(nullptr, 0, &RunTask<decltype(user)>, &user, 0, nullptr));
  ASSERT_TRUE(thread);
  f.SaveAsTXTItem.Click();
  WaitForSingleObject(thread.Get(), INFINITE);
  EXPECT_EQ(shownName, "Orvensys");
  EXPECT_EQ(f.SaveDialog1.FileName, Path("typed"));
  EXPECT_NE(FileBytes(Path("typed.txt")).find(kDriveLine), std::string::npos);
  ASSERT_EQ(world.opened.size(), 1u);
  EXPECT_EQ(world.opened[0].target, Path("typed.txt"));
  form.reset();  // before the outside it uses
}

}  // namespace
}  // namespace orv
