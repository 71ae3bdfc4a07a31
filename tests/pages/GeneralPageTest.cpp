// The General page in the real window: the thirteen rows from the prefix's registry and system,
// checked against reg.exe and the system calls; registry values changed for a test and restored;
// the language file; the BIOS row's width; a failing query; requests arriving during the fill.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/TextRules.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"
#include "tests/support/WindowWalk.h"

namespace orv {
namespace {

constexpr char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kSystem[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kDisplayClass[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr char kMonitorClass[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}\\0000";

// reg.exe's answer for a value below HKLM, with "(missing)" read as no value.
std::string RegOrEmpty(const std::string& key, const std::string& value) {
  const std::string data = test::RegQueryValue("HKLM\\" + key, value);
  return data == "(missing)" ? std::string() : data;
}

// The name of the system's language, as the keyboard row gives it.
std::string SystemLanguage() {
  char language[128] = {};
  VerLanguageNameA(GetSystemDefaultLangID(), language, sizeof(language));
  return language;
}

std::vector<std::string> Rows(TForm1& f) {
  return {f.Page1Label01.Caption(), f.Page1Label02.Caption(), f.Page1Label03.Caption(),
          f.Page1Label04.Caption(), f.Page1Label05.Caption(), f.Page1Label06.Caption(),
          f.Page1Label07.Caption(), f.Page1Label08.Caption(), f.Page1Label09.Caption(),
          f.Page1Label10.Caption(), f.Page1Label11.Caption(), f.Page1Label12.Caption(),
          f.Page1Label13.Caption()};
}

// Width of text in the label's font, as an auto-sized label takes it.
int TextWidth(Label& label, const std::string& text) {
  WindowDc dc(label.Handle());
  SelectGuard font(dc.Get(), label.Font());
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

class GeneralPageTest : public test::WindowTest {};

TEST_F(GeneralPageTest, RowsAgreeWithRegAndTheSystemOnThisPrefix) {
  TForm1& f = Make();
  f.Show();  // the General page is the active one: showing the window fills it
  ASSERT_EQ(f.PageShowCount[0], 1);
  const std::vector<std::string> rows = Rows(f);

  // Independent answers: reg.exe inside Wine for the registry, the system calls for the rest.
  const std::string csd = RegOrEmpty(kCurrentVersion, "CSDVersion");
  EXPECT_EQ(rows[0], "Windows " + RegOrEmpty(kCurrentVersion, "CurrentVersion") + " (" +
                         RegOrEmpty(kCurrentVersion, "CurrentBuildNumber") + "." + csd + ")");
  const std::string productName = RegOrEmpty(kCurrentVersion, "ProductName");
  ASSERT_FALSE(productName.empty()) << "the prefix names its product";
  EXPECT_EQ(rows[1], productName);
  EXPECT_EQ(rows[2],
            "Product Id: " +
                RegOrEmpty("SOFTWARE\\Microsoft\\Internet Explorer\\Registration", "ProductId"));
  const std::string computer = test::ComputerName();
  ASSERT_FALSE(computer.empty());
  EXPECT_EQ(rows[3], "Computer name: " + computer);
  char user[256] = {};
  DWORD userSize = sizeof(user);
  ASSERT_TRUE(GetUserNameA(user, &userSize));
  EXPECT_EQ(rows[4], std::string("User name: ") + user);
  EXPECT_EQ(rows[5], "Registered owner: " + RegOrEmpty(kCurrentVersion, "RegisteredOwner"));
  EXPECT_EQ(rows[6],
            "Registered organization: " + RegOrEmpty(kCurrentVersion, "RegisteredOrganization"));
  // The version part depends on the value's type; the date ends the row after one blank.
  const std::string date = RegOrEmpty(kSystem, "SystemBiosDate");
  EXPECT_EQ(rows[7].rfind("BIOS: ", 0), 0u) << rows[7];
  EXPECT_EQ(rows[7].substr(rows[7].size() - date.size() - 1), " " + date) << rows[7];
  const std::string cpu = TrimControl(
      RegOrEmpty(std::string(kSystem) + "\\CentralProcessor\\0", "ProcessorNameString"));
  if (!cpu.empty()) {
    EXPECT_EQ(rows[8], "CPU: " + cpu);
  }
  const std::string adapter = RegOrEmpty(kDisplayClass, "DriverDesc");
  EXPECT_EQ(rows[9], "Video: " + (adapter.empty() ? test::LastDisplayDeviceName() : adapter));
  const std::string monitor = RegOrEmpty(kMonitorClass, "DriverDesc");
  EXPECT_EQ(rows[10], "Monitor: " + (monitor.empty() ? std::string("Standart monitor") : monitor));
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  // Within half a megabyte of the system's figure (the rounding has its own test).
  EXPECT_NEAR(MegabytesIn(rows[11], "Memory: "), memory.ullTotalPhys, 1048576 / 2);
  EXPECT_EQ(rows[12], "Keyboard language: " + SystemLanguage());

  // The labels sit where the page's design puts them, each one line high.
  EXPECT_EQ(f.Page1Label01.Left(), 144);
  EXPECT_EQ(f.Page1Label06.Left(), 224);
  EXPECT_EQ(f.Page1Label13.Top(), 296);
  EXPECT_EQ(f.Page1Label09.Width(), TextWidth(f.Page1Label09, rows[8]));
}

TEST_F(GeneralPageTest, RegistryValuesAndTheirFallbacks) {
  const auto version = registry.At(HKEY_LOCAL_MACHINE, kCurrentVersion);
  const auto adapter = registry.At(HKEY_LOCAL_MACHINE, kDisplayClass);
  const auto monitor = registry.At(HKEY_LOCAL_MACHINE, kMonitorClass);
  const auto system = registry.At(HKEY_LOCAL_MACHINE, kSystem);
  TForm1& f = Make();

  // Every value present.
  ASSERT_TRUE(version.SetSz("ProductName", "Microsoft Windows 7 Ultimate"));
  ASSERT_TRUE(adapter.SetSz("DriverDesc", "Orv Test Graphics Adapter"));
  ASSERT_TRUE(monitor.SetSz("DriverDesc", "Orv Test Monitor"));
  ASSERT_TRUE(system.SetMultiSz("SystemBiosVersion", std::string("ORVBIOS - 1") + '\0' + "Rev 2"));
  ASSERT_TRUE(system.SetSz("SystemBiosDate", "03/14/15"));
  f.Page1Show();
  EXPECT_EQ(f.Page1Label02.Caption(), "Microsoft Windows 7 Ultimate");
  EXPECT_EQ(f.Page1Label10.Caption(), "Video: Orv Test Graphics Adapter");
  EXPECT_EQ(f.Page1Label11.Caption(), "Monitor: Orv Test Monitor");
  // A multi-string version is not the binary value the row reads: two blanks, then the date.
  EXPECT_EQ(f.Page1Label08.Caption(), "BIOS:  03/14/15");

  // Windows 11 still calls itself "Windows 10" in ProductName.
  ASSERT_TRUE(version.SetSz("ProductName", "Windows 10 Pro"));
  ASSERT_TRUE(version.SetSz("CurrentBuildNumber", "22631"));
  f.Page1Show();
  EXPECT_EQ(f.Page1Label02.Caption(), "Windows 11 Pro");

  // Every value missing: the fallbacks.
  ASSERT_TRUE(version.Delete("ProductName"));
  ASSERT_TRUE(adapter.Delete("DriverDesc"));
  ASSERT_TRUE(monitor.Delete("DriverDesc"));
  ASSERT_TRUE(system.Delete("SystemBiosDate"));
  ASSERT_TRUE(system.Delete("SystemBiosVersion"));
  f.Sources.general.osVersionText = [] { return std::string("OS Version 5.1 build 2600"); };
  f.Page1Show();
  EXPECT_EQ(f.Page1Label02.Caption(), "OS Version 5.1 build 2600");
  EXPECT_EQ(f.Page1Label10.Caption(), "Video: " + test::LastDisplayDeviceName());
  EXPECT_EQ(f.Page1Label11.Caption(), "Monitor: Standart monitor");
  EXPECT_EQ(f.Page1Label08.Caption(), "BIOS:  ");
}

TEST_F(GeneralPageTest, AChangedValueOrLanguageFileShowsAtTheNextShow) {
  const auto version = registry.At(HKEY_LOCAL_MACHINE, kCurrentVersion);
  ASSERT_TRUE(version.SetSz("RegisteredOwner", "Alice Example"));
  TForm1& f = Make();
  f.Show();
  EXPECT_EQ(f.Page1Label06.Caption(), "Registered owner: Alice Example");

  ASSERT_TRUE(version.SetSz("RegisteredOwner", "Bob Example"));
  Language("[General]\nOwner=Besitzer\nKeyboard=\n");
  UserPicksTab(f, 2);
  UserPicksTab(f, 0);  // back to the page: a new show
  EXPECT_EQ(f.PageShowCount[0], 2);
  EXPECT_EQ(f.Page1Label06.Caption(), "Besitzer: Bob Example");
  // An empty caption in the file still gives the colon and the blank.
  EXPECT_EQ(f.Page1Label13.Caption(), ": " + SystemLanguage());

  Language("[General]\nOwner=Proprietaire enregistre\n");
  f.Page1Show();
  EXPECT_EQ(f.Page1Label06.Caption(), "Proprietaire enregistre: Bob Example");
  EXPECT_EQ(f.Page1Label13.Caption(), "Keyboard language: " + SystemLanguage());
}

TEST_F(GeneralPageTest, TheBiosRowIsCutAt450PixelsAtEveryShow) {
  TForm1& f = Make();
  const std::string longDate(120, 'W');
  f.Sources.general.biosVersion = [] { return std::string("ROM"); };
  std::string date = longDate;
  f.Sources.general.biosDate = [&date] { return date; };
  ASSERT_GT(TextWidth(f.Page1Label08, "BIOS: ROM " + longDate), 450) << "the text must be long";

  f.Page1Show();
  EXPECT_EQ(f.Page1Label08.Caption(), "BIOS: ROM " + longDate);  // the whole text, cut on screen
  EXPECT_EQ(f.Page1Label08.Width(), 450);
  EXPECT_EQ(f.Page1Label08.Left(), 32);

  // A short value sizes the label to its text again; a long one is cut again.
  date = "01/01/20";
  f.Page1Show();
  EXPECT_EQ(f.Page1Label08.Width(), TextWidth(f.Page1Label08, "BIOS: ROM 01/01/20"));
  EXPECT_LT(f.Page1Label08.Width(), 450);
  date = longDate;
  f.Page1Show();
  EXPECT_EQ(f.Page1Label08.Width(), 450);
  // Other long rows are not cut.
  f.Sources.general.cpuName = [&longDate] { return longDate; };
  f.Page1Show();
  EXPECT_GT(f.Page1Label09.Width(), 450);
}

TEST_F(GeneralPageTest, AFailingQueryLeavesEveryRowAsItWas) {
  TForm1& f = Make();
  f.Sources.general.computerName = [] { return std::string("FIRST-PC"); };
  f.Page1Show();
  const std::vector<std::string> before = Rows(f);
  ASSERT_EQ(before[3], "Computer name: FIRST-PC");

  int languageAsked = 0;
  f.Sources.general.computerName = [] { return std::string("SECOND-PC"); };
  f.Sources.general.languageName = [&languageAsked]() -> std::string {
    ++languageAsked;
    throw std::runtime_error("Invalid data type for Language");
  };
  f.Page1Show();
  EXPECT_EQ(languageAsked, 1);
  EXPECT_EQ(Rows(f), before);  // not even the rows gathered before the failure
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Invalid data type for Language.");
  EXPECT_EQ(outside.messages[0].caption, "Orvendel");
  EXPECT_FALSE(f.FillRunning());
  EXPECT_FALSE(f.PageFillRunning());

  // The window carries on: the next show fills the page.
  f.Sources.general.languageName = [] { return std::string("Esperanto"); };
  f.Page1Show();
  EXPECT_EQ(f.Page1Label04.Caption(), "Computer name: SECOND-PC");
  EXPECT_EQ(f.Page1Label13.Caption(), "Keyboard language: Esperanto");
}

TEST_F(GeneralPageTest, RequestsArrivingDuringTheFillWaitForIt) {
  TForm1& f = Make();
  f.Show();
  ASSERT_EQ(f.PageShowCount[0], 1);
  f.Sources.processPaths = test::FakeProcesses({"C:\\windows\\system32\\winlogon.exe"});
  int generalFills = 0;
  bool asked = false;
  std::vector<std::string> seenInside;
  f.Sources.general.cpuName = [&] {
    ++generalFills;
    if (!asked) {
      asked = true;
      // While the rows are gathered: a tab click, a direct call of another page's handler and of
      // this page's own, and a link click let through by a message pump.
      UserPicksTab(f, 2);
      f.Page3Show();
      f.Page1Show();
      PostClick(f.Page1Label14);
      f.ProcessMessages();
      seenInside = {std::to_string(f.PageShowCount[2]), f.Page3Label04.Caption(),
                    std::to_string(outside.opened.size()), std::to_string(generalFills)};
    }
    return std::string("Orv Test CPU");
  };
  f.Page1Show();
  // Nothing of it ran inside the fill ...
  EXPECT_EQ(seenInside, (std::vector<std::string>{"0", "Processes:", "0", "1"}));
  // ... and all of it after, each once.
  EXPECT_EQ(f.Page1Label09.Caption(), "CPU: Orv Test CPU");
  EXPECT_EQ(generalFills, 2);
  EXPECT_EQ(f.PageShowCount[2], 1);
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes: 1");
  EXPECT_EQ(outside.opened.size(), 1u);
  EXPECT_EQ(f.Pages.ActiveIndex(), 2);
  EXPECT_FALSE(f.FillRunning());
}

TEST_F(GeneralPageTest, AReportReadsThePagesRightAfterCallingTheirHandlers) {
  TForm1& f = Make();
  f.Show();
  f.Sources.general.userName = [] { return std::string("reporter"); };
  f.Sources.processPaths = test::FakeProcesses({"a.exe", "b.exe"});
  // A report runs as a request of its own and calls the show handlers itself, page by page.
  std::vector<std::string> read;
  f.RunRequest("report", [&] {
    f.Page1Show();
    read.push_back(f.Page1Label05.Caption());
    f.Page3Show();
    read.push_back(f.Page3Label04.Caption());
  });
  EXPECT_EQ(read, (std::vector<std::string>{"User name: reporter", "Processes: 2"}));
}

}  // namespace
}  // namespace orv
