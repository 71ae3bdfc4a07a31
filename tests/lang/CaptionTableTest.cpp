#include "lang/CaptionTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/pages/FakeLookup.h"

namespace orv {
namespace {

using T = CaptionTarget;

// Every lookup in the order the window applies the texts, which translators rely on, with the
// caption that an English user sees when no language file is found; none for the first part of a
// compound caption, which the next row finishes.
const struct {
  const char* section;
  const char* key;
  T target;
  const char* english;
} kRows[] = {
    {"General", "General", T::Page1Tab, "General"},
    {"General", "Info1", T::Page1Label14, "Download Pellory"},
    {"General", "Info2", T::Page1Label15, "to make your computer error-free and more efficient!"},
    {"Drives", "Drives", T::Page2Tab, "Drives"},
    {"Drives", "Drive", T::Page2Label01, nullptr},
    {"Drives", "Removable", T::Page2Label01, "Drive A: Removable"},
    {"Drives", "Drive", T::Page2Label02, nullptr},
    {"Drives", "Fixed", T::Page2Label02, "Drive C: Fixed"},
    {"Drives", "Info1", T::Page2Label14, "Download Dravenna"},
    {"Drives", "Info2", T::Page2Label15,
     "to recover deleted data data from hard disks and any type of storage media."},
    {"General", "Memory", T::Page3Tab, "Memory"},
    {"Memory", "Info", T::Page3TopLabel, "Processes are the programs running now."},
    {"Memory", "Info1", T::Page3Label05, "Download Kestrova"},
    {"Memory", "Info2", T::Page3Label06, "Speed up your PC loading several times!"},
    {"Startup", "Startup", T::Page4Tab, "Startup list"},
    {"Startup", "Info", T::Page4TopLabel,
     "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
     "are necessary, and their work may slow down the PC processing."},
    {"Startup", "User", T::Page4ListColumn1, "User"},
    {"Startup", "Program", T::Page4ListColumn2, "Program"},
    {"Startup", "Location", T::Page4ListColumn3, "Location"},
    {"Startup", "OpenFolder", T::Page4Label01, "Open folder"},
    {"Startup", "LaunchSoftware", T::Page4Label02, "Launch software"},
    {"Startup", "AskGoogle", T::Page4Label03, "Ask Google"},
    {"Startup", "Info1", T::Page4Label04, "Download Lumarel"},
    {"Startup", "Info2", T::Page4Label05, "to manage your startup list!"},
    {"Uninstall", "Programs", T::Page5Tab, "Installed programs"},
    {"Uninstall", "Info", T::Page5TopLabel,
     "Here is the list of programs installed at your PC. You may delete them in the start menu "
     "or control panel."},
    {"Startup", "Program", T::Page5ListColumn0, "Program"},
    {"Uninstall", "Publisher", T::Page5ListColumn1, "Publisher"},
    {"Uninstall", "Info1", T::Page5Label01, "Download Ferrowin"},
    {"Uninstall", "Info2", T::Page5Label02,
     "to track applications installation and deinstallation!"},
    {"About", "About", T::Page6Tab, "About"},
    {"About", "Version", T::Page6Label02, "Version: 2.2"},
    {"About", "Internet", T::Page6Label05, "Internet:"},
    {"About", "E-mail", T::Page6Label07, "Email:"},
    {"About", "Help", T::HelpLabel, "Help"},
    {"Report", "Save", T::SaveLabel, "Save report"},
    {"Report", "SaveTxt", T::SaveAsTXTItem, "Save as text"},
    {"Report", "SaveHtml", T::SaveAsHTMLItem, "Save as HTML"},
    {"Edit", "Copy", T::CopyItem, "Copy"},
    {"Edit", "SelectAll", T::SelectAllItem, "Select all"},
};

// The text of target among captions.
std::string TextOf(const std::vector<CaptionText>& captions, T target) {
  for (const CaptionText& c : captions) {
    if (c.target == target) return c.text;
  }
  return "<missing>";
}

TEST(CreationCaptions, WithoutALanguageFileEveryCaptionIsTheEnglishDefault) {
  test::FakeLookup english;
  const std::vector<CaptionText> actual = CreationCaptions(english.Fn());
  std::size_t i = 0;
  for (const auto& row : kRows) {
    if (!row.english) continue;
    ASSERT_LT(i, actual.size());
    EXPECT_EQ(actual[i].target, row.target) << "caption " << i;
    EXPECT_EQ(actual[i].text, row.english) << "caption " << i;
    ++i;
  }
  EXPECT_EQ(actual.size(), i);
}

TEST(CreationCaptions, LooksUpEveryRowOnceInTableOrder) {
  test::FakeLookup lookup;
  const std::vector<CaptionText> captions = CreationCaptions(lookup.Fn());
  ASSERT_EQ(lookup.asked.size(), std::size(kRows));
  for (std::size_t i = 0; i < lookup.asked.size(); ++i) {
    EXPECT_EQ(lookup.asked[i], std::string(kRows[i].section) + "/" + kRows[i].key)
        << "lookup " << i;
  }
  // The e-mail key is spelled with a hyphen, its default (which the lookup gives back) without one.
  EXPECT_EQ(TextOf(captions, T::Page6Label07), "Email:");
}

// The window looks a page's captions up when it makes the page: only the rows of the targets
// taken are read, a compound caption with both of its parts.
TEST(CreationCaptions, AFilterLooksUpOnlyTheRowsOfTheTargetsItTakes) {
  test::FakeLookup lookup;
  const std::vector<CaptionText> captions = CreationCaptions(lookup.Fn(), [](CaptionTarget target) {
    return target == T::Page2Label01 || target == T::SaveLabel;
  });
  EXPECT_EQ(lookup.asked,
            (std::vector<std::string>{"Drives/Drive", "Drives/Removable", "Report/Save"}));
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0].text, "Drive A: Removable");
  EXPECT_EQ(captions[1].target, T::SaveLabel);
}

TEST(CreationCaptions, CompoundCaptionsJoinTranslatedParts) {
  test::FakeLookup german({{{"Drives", "Drive"}, "Laufwerk"},
                           {{"Drives", "Removable"}, "Wechselmedium"},
                           {{"Drives", "Fixed"}, "Festplatte"},
                           {{"About", "Version"}, "Version"},
                           {{"About", "E-mail"}, "E-Mail"}});
  const std::vector<CaptionText> captions = CreationCaptions(german.Fn());
  EXPECT_EQ(TextOf(captions, T::Page2Label01), "Laufwerk A: Wechselmedium");
  EXPECT_EQ(TextOf(captions, T::Page2Label02), "Laufwerk C: Festplatte");
  EXPECT_EQ(TextOf(captions, T::Page6Label07), "E-Mail:");
  EXPECT_EQ(TextOf(captions, T::Page6Label05), "Internet:");
}

TEST(CreationCaptions, EmptyValuesBlankTheTextButKeepTheFixedParts) {
  const std::map<T, std::string> fixedParts = {{T::Page2Label01, " A: "},
                                               {T::Page2Label02, " C: "},
                                               {T::Page6Label02, ": 2.2"},
                                               {T::Page6Label05, ":"},
                                               {T::Page6Label07, ":"}};
  const std::vector<CaptionText> captions = CreationCaptions(
      [](const std::string&, const std::string&, const std::string&) { return std::string(); });
  ASSERT_EQ(captions.size(), 38u);
  for (const CaptionText& c : captions) {
    const auto fixed = fixedParts.find(c.target);
    EXPECT_EQ(c.text, fixed == fixedParts.end() ? "" : fixed->second) << static_cast<int>(c.target);
  }
}

// Two lookups of the same key in a row (5 and 7) must not leak one caption's first part into the
// other's.
TEST(CreationCaptions, EachCompoundCaptionUsesItsOwnLookups) {
  int driveLookups = 0;
  const std::vector<CaptionText> captions =
      CreationCaptions([&driveLookups](const std::string& section, const std::string& key,
                                       const std::string& defaultText) -> std::string {
        if (section == "Drives" && key == "Drive") return std::to_string(++driveLookups) + "D";
        return defaultText;
      });
  EXPECT_EQ(captions[4].text, "1D A: Removable");
  EXPECT_EQ(captions[5].text, "2D C: Fixed");
}

}  // namespace
}  // namespace orv
