#include "lang/CaptionTable.h"

#include <iterator>

namespace orv {
namespace {

// How a row's text reaches its target.
enum class Join {
  Whole,   // the text is the caption
  Suffix,  // the text, then the glue ("Version" + ": 2.2")
  Begin,   // the text and the glue start a caption that the next row finishes
  Finish,  // the caption begun by the row before, then the text
};

struct CaptionRow {
  const char* section;
  const char* key;
  const char* defaultText;
  CaptionTarget target;
  Join join;
  const char* glue;
};

using T = CaptionTarget;

// Rows in the order the window applies them, which is the order of the published list of captions
// that the language files' translators work from.
constexpr CaptionRow kRows[] = {
    {"General", "General", "General", T::Page1Tab, Join::Whole, ""},
    {"General", "Info1", "Download Pellory", T::Page1Label14, Join::Whole, ""},
    {"General", "Info2", "to make your computer error-free and more efficient!", T::Page1Label15,
     Join::Whole, ""},
    {"Drives", "Drives", "Drives", T::Page2Tab, Join::Whole, ""},
    {"Drives", "Drive", "Drive", T::Page2Label01, Join::Begin, " A: "},
    {"Drives", "Removable", "Removable", T::Page2Label01, Join::Finish, ""},
    {"Drives", "Drive", "Drive", T::Page2Label02, Join::Begin, " C: "},
    {"Drives", "Fixed", "Fixed", T::Page2Label02, Join::Finish, ""},
    {"Drives", "Info1", "Download Dravenna", T::Page2Label14, Join::Whole, ""},
    {"Drives", "Info2",
     "to recover deleted data data from hard disks and any type of storage media.", T::Page2Label15,
     Join::Whole, ""},
    {"General", "Memory", "Memory", T::Page3Tab, Join::Whole, ""},
    {"Memory", "Info", "Processes are the programs running now.", T::Page3TopLabel, Join::Whole,
     ""},
    {"Memory", "Info1", "Download Kestrova", T::Page3Label05, Join::Whole, ""},
    {"Memory", "Info2", "Speed up your PC loading several times!", T::Page3Label06, Join::Whole,
     ""},
    {"Startup", "Startup", "Startup list", T::Page4Tab, Join::Whole, ""},
    {"Startup", "Info",
     "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
     "are necessary, and their work may slow down the PC processing.",
     T::Page4TopLabel, Join::Whole, ""},
    {"Startup", "User", "User", T::Page4ListColumn1, Join::Whole, ""},
    {"Startup", "Program", "Program", T::Page4ListColumn2, Join::Whole, ""},
    {"Startup", "Location", "Location", T::Page4ListColumn3, Join::Whole, ""},
    {"Startup", "OpenFolder", "Open folder", T::Page4Label01, Join::Whole, ""},
    {"Startup", "LaunchSoftware", "Launch software", T::Page4Label02, Join::Whole, ""},
    {"Startup", "AskGoogle", "Ask Google", T::Page4Label03, Join::Whole, ""},
    {"Startup", "Info1", "Download Lumarel", T::Page4Label04, Join::Whole, ""},
    {"Startup", "Info2", "to manage your startup list!", T::Page4Label05, Join::Whole, ""},
    {"Uninstall", "Programs", "Installed programs", T::Page5Tab, Join::Whole, ""},
    {"Uninstall", "Info",
     "Here is the list of programs installed at your PC. You may delete them in the start menu or "
     "control panel.",
     T::Page5TopLabel, Join::Whole, ""},
    {"Startup", "Program", "Program", T::Page5ListColumn0, Join::Whole, ""},
    {"Uninstall", "Publisher", "Publisher", T::Page5ListColumn1, Join::Whole, ""},
    {"Uninstall", "Info1", "Download Ferrowin", T::Page5Label01, Join::Whole, ""},
    {"Uninstall", "Info2", "to track applications installation and deinstallation!",
     T::Page5Label02, Join::Whole, ""},
    {"About", "About", "About", T::Page6Tab, Join::Whole, ""},
    {"About", "Version", "Version", T::Page6Label02, Join::Suffix, ": 2.2"},
    {"About", "Internet", "Internet", T::Page6Label05, Join::Suffix, ":"},
    {"About", "E-mail", "Email", T::Page6Label07, Join::Suffix, ":"},
    {"About", "Help", "Help", T::HelpLabel, Join::Whole, ""},
    {"Report", "Save", "Save report", T::SaveLabel, Join::Whole, ""},
    {"Report", "SaveTxt", "Save as text", T::SaveAsTXTItem, Join::Whole, ""},
    {"Report", "SaveHtml", "Save as HTML", T::SaveAsHTMLItem, Join::Whole, ""},
    // The menu of the lists, added after the published list; translators find it at the end.
    {"Edit", "Copy", "Copy", T::CopyItem, Join::Whole, ""},
    {"Edit", "SelectAll", "Select all", T::SelectAllItem, Join::Whole, ""},
};

}  // namespace

std::vector<CaptionText> CreationCaptions(const LookupFn& lookup,
                                          const std::function<bool(CaptionTarget)>& wanted) {
  std::vector<CaptionText> captions;
  captions.reserve(std::size(kRows));
  std::string begun;
  for (const CaptionRow& row : kRows) {
    if (wanted && !wanted(row.target)) continue;
    std::string text = lookup(row.section, row.key, row.defaultText);
    switch (row.join) {
      case Join::Whole:
        captions.push_back({row.target, std::move(text)});
        break;
      case Join::Suffix:
        captions.push_back({row.target, text + row.glue});
        break;
      case Join::Begin:
        begun = text + row.glue;
        break;
      case Join::Finish:
        captions.push_back({row.target, begun + text});
        break;
    }
  }
  return captions;
}

}  // namespace orv
