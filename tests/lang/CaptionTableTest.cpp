#include "lang/CaptionTable.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace orv {
namespace {

using T = CaptionTarget;

std::string Identity(const std::string&, const std::string&, const std::string& defaultText) {
  return defaultText;
}

// What an English user sees when no language file is found.
TEST(CreationCaptions, WithoutALanguageFileEveryCaptionIsTheEnglishDefault) {
  const std::vector<CaptionText> expected = {
      {T::Page1Tab, "General"},
      {T::Page1Label14, "Download Pellory"},
      {T::Page1Label15, "to make your computer error-free and more efficient!"},
      {T::Page2Tab, "Drives"},
      {T::Page2Label01, "Drive A: Removable"},
      {T::Page2Label02, "Drive C: Fixed"},
      {T::Page2Label14, "Download Dravenna"},
      {T::Page2Label15,
       "to recover deleted data data from hard disks and any type of storage media."},
      {T::Page3Tab, "Memory"},
      {T::Page3TopLabel, "Processes are the programs running now."},
      {T::Page3Label05, "Download Kestrova"},
      {T::Page3Label06, "Speed up your PC loading several times!"},
      {T::Page4Tab, "Startup list"},
      {T::Page4TopLabel,
       "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
       "are necessary, and their work may slow down the PC processing."},
      {T::Page4ListColumn1, "User"},
      {T::Page4ListColumn2, "Program"},
      {T::Page4ListColumn3, "Location"},
      {T::Page4Label01, "Open folder"},
      {T::Page4Label02, "Launch software"},
      {T::Page4Label03, "Ask Google"},
      {T::Page4Label04, "Download Lumarel"},
      {T::Page4Label05, "to manage your startup list!"},
      {T::Page5Tab, "Installed programs"},
      {T::Page5TopLabel,
       "Here is the list of programs installed at your PC. You may delete them in the start menu "
       "or control panel."},
      {T::Page5ListColumn0, "Program"},
      {T::Page5ListColumn1, "Publisher"},
      {T::Page5Label01, "Download Ferrowin"},
      {T::Page5Label02, "to track applications installation and deinstallation!"},
      {T::Page6Tab, "About"},
      {T::Page6Label02, "Version: 2.2"},
      {T::Page6Label05, "Internet:"},
      {T::Page6Label07, "Email:"},
      {T::HelpLabel, "Help"},
      {T::SaveLabel, "Save report"},
      {T::SaveAsTXTItem, "Save as text"},
      {T::SaveAsHTMLItem, "Save as HTML"},
      {T::CopyItem, "Copy"},
      {T::SelectAllItem, "Select all"},
  };
  const std::vector<CaptionText> actual = CreationCaptions(Identity);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].target, expected[i].target) << "caption " << i;
    EXPECT_EQ(actual[i].text, expected[i].text) << "caption " << i;
  }
}

// The window applies the texts in this order, and translators rely on these exact keys.
TEST(CreationCaptions, LooksUpEveryRowOnceInTableOrder) {
  using Call = std::tuple<std::string, std::string, std::string>;
  std::vector<Call> calls;
  CreationCaptions([&calls](const std::string& s, const std::string& k, const std::string& d) {
    calls.emplace_back(s, k, d);
    return d;
  });
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"General", "General"},     {"General", "Info1"},      {"General", "Info2"},
      {"Drives", "Drives"},       {"Drives", "Drive"},       {"Drives", "Removable"},
      {"Drives", "Drive"},        {"Drives", "Fixed"},       {"Drives", "Info1"},
      {"Drives", "Info2"},        {"General", "Memory"},     {"Memory", "Info"},
      {"Memory", "Info1"},        {"Memory", "Info2"},       {"Startup", "Startup"},
      {"Startup", "Info"},        {"Startup", "User"},       {"Startup", "Program"},
      {"Startup", "Location"},    {"Startup", "OpenFolder"}, {"Startup", "LaunchSoftware"},
      {"Startup", "AskGoogle"},   {"Startup", "Info1"},      {"Startup", "Info2"},
      {"Uninstall", "Programs"},  {"Uninstall", "Info"},     {"Startup", "Program"},
      {"Uninstall", "Publisher"}, {"Uninstall", "Info1"},    {"Uninstall", "Info2"},
      {"About", "About"},         {"About", "Version"},      {"About", "Internet"},
      {"About", "E-mail"},        {"About", "Help"},         {"Report", "Save"},
      {"Report", "SaveTxt"},      {"Report", "SaveHtml"},    {"Edit", "Copy"},
      {"Edit", "SelectAll"},
  };
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::get<0>(calls[i]), expected[i].first) << "lookup " << i;
    EXPECT_EQ(std::get<1>(calls[i]), expected[i].second) << "lookup " << i;
  }
  // The e-mail key is spelled with a hyphen, its default without one.
  EXPECT_EQ(std::get<2>(calls[33]), "Email");
}

// The window looks a page's captions up when it makes the page: only the rows of the targets
// taken are read, a compound caption with both of its parts.
TEST(CreationCaptions, AFilterLooksUpOnlyTheRowsOfTheTargetsItTakes) {
  std::vector<std::string> keys;
  const std::vector<CaptionText> captions = CreationCaptions(
      [&keys](const std::string& s, const std::string& k, const std::string& d) {
        keys.push_back(s + "/" + k);
        return d;
      },
      [](CaptionTarget target) { return target == T::Page2Label01 || target == T::SaveLabel; });
  EXPECT_EQ(keys, (std::vector<std::string>{"Drives/Drive", "Drives/Removable", "Report/Save"}));
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0].text, "Drive A: Removable");
  EXPECT_EQ(captions[1].target, T::SaveLabel);
}

TEST(CreationCaptions, CompoundCaptionsJoinTranslatedParts) {
  const auto german = [](const std::string& section, const std::string& key,
                         const std::string& defaultText) -> std::string {
    if (section == "Drives" && key == "Drive") return "Laufwerk";
    if (section == "Drives" && key == "Removable") return "Wechselmedium";
    if (section == "Drives" && key == "Fixed") return "Festplatte";
    if (section == "About" && key == "Version") return "Version";
    if (section == "About" && key == "E-mail") return "E-Mail";
    return defaultText;
  };
  const std::vector<CaptionText> captions = CreationCaptions(german);
  auto textOf = [&captions](CaptionTarget target) {
    for (const CaptionText& c : captions) {
      if (c.target == target) return c.text;
    }
    return std::string("<missing>");
  };
  EXPECT_EQ(textOf(T::Page2Label01), "Laufwerk A: Wechselmedium");
  EXPECT_EQ(textOf(T::Page2Label02), "Laufwerk C: Festplatte");
  EXPECT_EQ(textOf(T::Page6Label07), "E-Mail:");
  EXPECT_EQ(textOf(T::Page6Label05), "Internet:");
}

// A key present with an empty value blanks its caption but keeps the fixed parts.
TEST(CreationCaptions, EmptyValuesBlankTheTextButKeepTheFixedParts) {
  const std::vector<CaptionText> captions = CreationCaptions(
      [](const std::string&, const std::string&, const std::string&) { return std::string(); });
  ASSERT_EQ(captions.size(), 38u);
  for (const CaptionText& c : captions) {
    switch (c.target) {
      case T::Page2Label01:
        EXPECT_EQ(c.text, " A: ");
        break;
      case T::Page2Label02:
        EXPECT_EQ(c.text, " C: ");
        break;
      case T::Page6Label02:
        EXPECT_EQ(c.text, ": 2.2");
        break;
      case T::Page6Label05:
      case T::Page6Label07:
        EXPECT_EQ(c.text, ":");
        break;
      default:
        EXPECT_EQ(c.text, "") << static_cast<int>(c.target);
    }
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
