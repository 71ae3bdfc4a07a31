#include "lang/Language.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/lang/ProgramFolder.h"
#include "tests/support/HandleProbe.h"
#include "tests/support/KnownLanguageKeys.h"
#include "tests/support/RegistryScratch.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

// A language file "Lang.ini" that the test writes into a scratch folder under %TEMP%; both go
// with the test.
class LanguageIniFile : public ::testing::Test {
 protected:
  LanguageIniFile() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "orv_lang_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(GetTickCount());
    CreateDirectoryA(dir.c_str(), nullptr);
    path = dir + "\\Lang.ini";
  }
  ~LanguageIniFile() override {
    DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
  }
  // Writes bytes exactly as given (the test chooses the line ends).
  void Write(const std::string& bytes) const { test::WriteBytes(path, bytes); }

  std::string dir;
  std::string path;
};

TEST_F(LanguageIniFile, MissingFileSectionOrKeyGivesTheDefault) {
  Write("[About]\r\nVersion=Verze\r\n");
  LanguageIni ini(path);
  EXPECT_EQ(ini.Path(), path);
  EXPECT_EQ(ini.Read("About", "Version", "Version"), "Verze");
  EXPECT_EQ(ini.Read("About", "Internet", "Internet"), "Internet");
  EXPECT_EQ(ini.Read("Drives", "Version", "Version"), "Version");
  EXPECT_EQ(LanguageIni(dir + "\\Nothing.ini").Read("About", "Version", "Version"), "Version");
  EXPECT_EQ(LanguageIni("").Read("About", "Version", "Version"), "Version");
}

TEST_F(LanguageIniFile, ValuesFollowTheWindowsIniRules) {
  Write(
      "; comment\r\n"
      "[Report]\r\n"
      "Save=\"  Bericht speichern \"\r\n"
      "SaveTxt='Als Text'\r\n"
      "SaveHtml=   Als HTML   \r\n"
      "Empty=\r\n"
      "Inner=Nom de l'ordinateur\r\n"
      "Lopsided=\"Bericht\r\n"
      "[about]\r\n"
      "e-mail=E-Mail\r\n");
  LanguageIni ini(path);
  EXPECT_EQ(ini.Read("Report", "Save", "x"), "  Bericht speichern ");
  EXPECT_EQ(ini.Read("Report", "SaveTxt", "x"), "Als Text");
  EXPECT_EQ(ini.Read("Report", "SaveHtml", "x"), "Als HTML");
  EXPECT_EQ(ini.Read("Report", "Empty", "Default"), "");
  EXPECT_EQ(ini.Read("Report", "Inner", "x"), "Nom de l'ordinateur");
  EXPECT_EQ(ini.Read("Report", "Lopsided", "x"), "\"Bericht");
  EXPECT_EQ(ini.Read("About", "E-mail", "Email"), "E-Mail");  // names ignore case
}

TEST_F(LanguageIniFile, KeepsBytesOfTheFilesCodePage) {
  Write("[About]\r\nAbout=\334ber\r\n");
  EXPECT_EQ(LanguageIni(path).Read("About", "About", "About"), "\334ber");
}

TEST_F(LanguageIniFile, CutsAValueLongerThan2047Characters) {
  std::string value(3000, 'x');
  value[2046] = 'L';
  value[2047] = 'C';
  Write("[Startup]\r\nInfo=" + value + "\r\n");
  const std::string text = LanguageIni(path).Read("Startup", "Info", "Default");
  ASSERT_EQ(text.size(), 2047u);
  EXPECT_EQ(text.back(), 'L');
}

TEST_F(LanguageIniFile, ReadsTheFileAnewAtEveryLookup) {
  Write("[General]\r\nGeneral=Allgemein\r\n");
  LanguageIni ini(path);
  EXPECT_EQ(ini.Read("General", "General", "General"), "Allgemein");
  Write("[General]\r\nGeneral=Obecne a jine\r\n");
  EXPECT_EQ(ini.Read("General", "General", "General"), "Obecne a jine");
  DeleteFileA(path.c_str());
  EXPECT_EQ(ini.Read("General", "General", "General"), "General");
}

TEST_F(LanguageIniFile, LeavesNoHandleOpen) {
  Write("[General]\r\nGeneral=Allgemein\r\n");
  LanguageIni ini(path);
  ini.Read("General", "General", "General");  // the first read may set up the loader's caches
  test::HandleProbe probe;
  for (int i = 0; i < 20; ++i) ini.Read("General", "General", "General");
  EXPECT_TRUE(probe.NothingLeaked());
}

// A program in a drive's root has the folder "C:\", which gives "C:\\English.ini".
TEST_F(LanguageIniFile, FindsAFileInADriveRootThroughADoubledBackslash) {
  const std::string name = "orv_lang_" + std::to_string(GetCurrentProcessId()) + ".ini";
  const std::string rootFile = "C:\\" + name;
  {
    std::ofstream out(rootFile, std::ios::binary);
    if (!out) GTEST_SKIP() << "the drive root C:\\ is not writable for this account";
    out << "[About]\r\nHelp=Hilfe\r\n";
  }
  EXPECT_EQ(LanguageIni("C:\\\\" + name).Read("About", "Help", "Help"), "Hilfe");
  DeleteFileA(rootFile.c_str());
}

// The test prefix's HKCU\Software\Tellwick\Orvendel "Language" value, put back as it was found.
class ChooseLanguageFileTest : public ::testing::Test {
 protected:
  test::RegistryScratch registry;
  const test::RegistryScratch::Key key =
      registry.At(HKEY_CURRENT_USER, "Software\\Tellwick\\Orvendel");
};

TEST_F(ChooseLanguageFileTest, FollowsTheLanguageValue) {
  const struct {
    const char* why;
    DWORD type;  // REG_NONE: no value
    std::string stored;
    const char* folder;
    int index;
    const char* fileName;
  } cases[] = {
      {"no value", REG_NONE, "", "C:\\Program Files\\Orvendel", 0, "English.ini"},
      {"2", REG_DWORD, test::DwordBytes(2), "C:\\Program Files\\Orvendel", 2, "German.ini"},
      {"6", REG_DWORD, test::DwordBytes(6), "D:\\Tools", 6, "Czech.ini"},
      {"0", REG_DWORD, test::DwordBytes(0), "C:\\Orvendel", 0, "English.ini"},
      {"7", REG_DWORD, test::DwordBytes(7), "C:\\Orvendel", 7, "English.ini"},
      {"-1", REG_DWORD, test::DwordBytes(0xFFFFFFFF), "C:\\Orvendel", -1, "English.ini"},
      // Written by hand as text, the value is not a DWORD and does not count.
      {"text \"2\"", REG_SZ, test::Sz("2"), "C:\\Orvendel", 0, "English.ini"},
  };
  for (const auto& c : cases) {
    c.type == REG_NONE ? key.Delete("Language") : key.Set("Language", c.type, c.stored);
    const LanguageChoice choice = ChooseLanguageFile(c.folder);
    EXPECT_EQ(choice.index, c.index) << c.why;
    EXPECT_EQ(choice.fileName, c.fileName) << c.why;
    EXPECT_EQ(choice.path, std::string(c.folder) + "\\" + c.fileName) << c.why;
  }
}

TEST_F(ChooseLanguageFileTest, AProgramInADriveRootGetsADoubledBackslash) {
  key.SetDword("Language", 3);
  EXPECT_EQ(ChooseLanguageFile("C:\\").path, "C:\\\\French.ini");
}

// The shipped files as the program reads them: English.ini reproduces every compiled text, and
// every translation answers every key with a text of its own.
TEST(ShippedLanguageFiles, AnswerEveryKnownKeyThroughTheRealReader) {
  const std::string folder = test::ProgramFolder();
  const std::string kAbsent =
      "\x01"
      "absent";
  const LanguageIni english(folder + "\\English.ini");
  for (const auto& k : test::KnownLanguageKeys()) {
    EXPECT_EQ(english.Read(k.section, k.key, kAbsent), k.defaultText) << k.section << "/" << k.key;
  }
  for (const char* name : test::kTranslations) {
    const LanguageIni ini(folder + "\\" + name);
    for (const auto& k : test::KnownLanguageKeys()) {
      const std::string text = ini.Read(k.section, k.key, kAbsent);
      EXPECT_NE(text, kAbsent) << name << " " << k.section << "/" << k.key;
      EXPECT_FALSE(text.empty()) << name << " " << k.section << "/" << k.key;
    }
  }
  EXPECT_EQ(LanguageIni(folder + "\\German.ini").Read("About", "About", "About"), "\334ber");
  EXPECT_EQ(LanguageIni(folder + "\\Czech.ini").Read("General", "Memory", "Memory"), "Pam\xEC\x9D");
}

}  // namespace
}  // namespace orv
