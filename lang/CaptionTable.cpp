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
  Join join = Join::Whole;
  const char* glue = "";
};

using T = CaptionTarget;

// Rows in the order the window applies them, which is the order of the published list of captions
// that the language files' translators work from.
constexpr CaptionRow kRows[] = {
    {"General", "General", "General", T::Page1Tab},
    {"General", "Info1", "Download Pellory", T::Page1Label14},
    {"General", "Info2", "to make your computer error-free and more efficient!", T::Page1Label15},
    {"Drives", "Drives", "Drives", T::Page2Tab},
    {"Drives", "Drive", "Drive", T::Page2Label01, Join::Begin, " A: "},
    {"Drives", "Removable", "Removable", T::Page2Label01, Join::Finish},
    {"Drives", "Drive", "Drive", T::Page2Label02, Join::Begin, " C: "},
    {"Drives", "Fixed", "Fixed", T::Page2Label02, Join::Finish},
    {"Drives", "Info1", "Download Dravenna", T::Page2Label14},
    {"Drives", "Info2",
     "to recover deleted data data from hard disks and any type of storage media.",
     T::Page2Label15},
    {"General", "Memory", "Memory", T::Page3Tab},
    {"Memory", "Info", "Processes are the programs running now.", T::Page3TopLabel},
    {"Memory", "Info1", "Download Kestrova", T::Page3Label05},
    {"Memory", "Info2", "Speed up your PC loading several times!", T::Page3Label06},
    {"Startup", "Startup", "Startup list", T::Page4Tab},
    {"Startup", "Info",
     "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
     "are necessary, and their work may slow down the PC processing.",
     T::Page4TopLabel},
    {"Startup", "User", "User", T::Page4ListColumn1},
    {"Startup", "Program", "Program", T::Page4ListColumn2},
    {"Startup", "Location", "Location", T::Page4ListColumn3},
    {"Startup", "OpenFolder", "Open folder", T::Page4Label01},
    {"Startup", "LaunchSoftware", "Launch software", T::Page4Label02},
    {"Startup", "AskGoogle", "Ask Google", T::Page4Label03},
    {"Startup", "Info1", "Download Lumarel", T::Page4Label04},
    {"Startup", "Info2", "to manage your startup list!", T::Page4Label05},
    {"Uninstall", "Programs", "Installed programs", T::Page5Tab},
    {"Uninstall", "Info",
     "Here is the list of programs installed at your PC. You may delete them in the start menu or "
     "control panel.",
     T::Page5TopLabel},
    {"Startup", "Program", "Program", T::Page5ListColumn0},
    {"Uninstall", "Publisher", "Publisher", T::Page5ListColumn1},
    {"Uninstall", "Info1", "Download Ferrowin", T::Page5Label01},
    {"Uninstall", "Info2", "to track applications installation and deinstallation!",
     T::Page5Label02},
    {"About", "About", "About", T::Page6Tab},
    {"About", "Version", "Version", T::Page6Label02, Join::Suffix, ": 2.2"},
    {"About", "Internet", "Internet", T::Page6Label05, Join::Suffix, ":"},
    {"About", "E-mail", "Email", T::Page6Label07, Join::Suffix, ":"},
    {"About", "Help", "Help", T::HelpLabel},
    {"Report", "Save", "Save report", T::SaveLabel},
    {"Report", "SaveTxt", "Save as text", T::SaveAsTXTItem},
    {"Report", "SaveHtml", "Save as HTML", T::SaveAsHTMLItem},
    // The menu of the lists, added after the published list; translators find it at the end.
    {"Edit", "Copy", "Copy", T::CopyItem},
    {"Edit", "SelectAll", "Select all", T::SelectAllItem},
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
