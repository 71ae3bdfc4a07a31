// The window's design: every control with its place, size, design caption, font and event, as
// tables that read like the layout they describe, created by one loop per kind of control.
#include <initializer_list>
#include <iterator>
#include <string>

#include "app/Form1.h"
#include "app/Maker.h"
#include "app/res/ResourceIds.h"

namespace orv {
namespace {

using LabelMember = Label TForm1::*;
using PageMember = TabPage TForm1::*;
using ClickMember = void (TForm1::*)(Label&);

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kGray = RGB(128, 128, 128);

const FontSpec kWindowFont{"Arial", 11, false, false};
const FontSpec kUnderlined{"Arial", 11, false, true};

// The kinds of label the design uses.
const LabelStyle kPlain{.font = kWindowFont};
const LabelStyle kLink{.font = kUnderlined, .cursor = CursorKind::Hand};
const LabelStyle kLogo{.font = {"Arial", 16, true, false}, .color = kNavy};
const LabelStyle kTitle{.font = {"Arial", 16, true, false}};
const LabelStyle kCopyright{
    .font = kWindowFont, .color = kGray, .align = TextAlign::Center, .centerVertically = true};
const LabelStyle kFooterLink{.font = {"Arial", 13, true, true},
                             .align = TextAlign::Right,
                             .centerVertically = true,
                             .cursor = CursorKind::Hand};
const LabelStyle kBandLink{.font = kUnderlined,
                           .align = TextAlign::Center,
                           .autoSize = false,
                           .centerVertically = true,
                           .cursor = CursorKind::Hand};
const LabelStyle kTopText{.font = kWindowFont, .autoSize = false, .wordWrap = true};
const LabelStyle kTopTextCentred{
    .font = kWindowFont, .align = TextAlign::Center, .autoSize = false, .wordWrap = true};
const LabelStyle kAction{.font = {"Verdana", 11, true, true},
                         .align = TextAlign::Center,
                         .autoSize = false,
                         .cursor = CursorKind::Hand};
const LabelStyle kFixedCentred{
    .font = kWindowFont, .align = TextAlign::Center, .autoSize = false, .centerVertically = true};
const LabelStyle kRightAligned{.font = kWindowFont, .align = TextAlign::Right};
const LabelStyle kCentredAuto{
    .font = kWindowFont, .align = TextAlign::Center, .centerVertically = true};

struct LabelRow {
  LabelMember label;
  PageMember page;  // nullptr: on the window itself
  int left, top, width, height;
  const char* caption;
  const LabelStyle& style;
  ClickMember click = nullptr;
  bool hidden = false;
};

// The drive labels wait hidden until the Drives page shows the drives there are.
constexpr LabelRow DriveRow(LabelMember label, int top, const char* caption) {
  return {label, &TForm1::Page2, 8, top, 0, 14, caption, kLink, &TForm1::Page2LabelClick, true};
}

// Pages 1 to 5 end with the same band: a bevel, a centred product link and a line of text.
const LabelRow kLabels[] = {
    {&TForm1::LogoLabel, nullptr, 24, 8, 174, 19, "Orvendel", kLogo},
    {&TForm1::ProduceLabel, nullptr, 9, 440, 198, 14, kCopyrightLine, kCopyright},
    {&TForm1::HelpLabel, nullptr, 402, 436, 29, 16, "Help", kFooterLink, &TForm1::HelpLabelClick},
    {&TForm1::SaveLabel, nullptr, 442, 436, 74, 16, "Save report", kFooterLink,
     &TForm1::SaveLabelClick},

    {&TForm1::Page1Label01, &TForm1::Page1, 144, 16, 0, 14, "Platform", kPlain},
    {&TForm1::Page1Label02, &TForm1::Page1, 144, 40, 0, 14, "OS", kPlain},
    {&TForm1::Page1Label03, &TForm1::Page1, 144, 64, 0, 14, "Product Id", kPlain},
    {&TForm1::Page1Label04, &TForm1::Page1, 32, 112, 0, 14, "Computer name", kPlain},
    {&TForm1::Page1Label05, &TForm1::Page1, 32, 136, 0, 14, "User name", kPlain},
    {&TForm1::Page1Label06, &TForm1::Page1, 224, 112, 0, 14, "Registered owner", kPlain},
    {&TForm1::Page1Label07, &TForm1::Page1, 224, 136, 0, 14, "Registered organization", kPlain},
    {&TForm1::Page1Label08, &TForm1::Page1, 32, 176, 0, 14, "BIOS", kPlain},
    {&TForm1::Page1Label09, &TForm1::Page1, 32, 200, 0, 14, "CPU", kPlain},
    {&TForm1::Page1Label10, &TForm1::Page1, 32, 224, 0, 14, "Video", kPlain},
    {&TForm1::Page1Label11, &TForm1::Page1, 32, 248, 0, 14, "Monitor", kPlain},
    {&TForm1::Page1Label12, &TForm1::Page1, 32, 272, 0, 14, "Memory", kPlain},
    {&TForm1::Page1Label13, &TForm1::Page1, 32, 296, 0, 14, "Keyboard language", kPlain},
    {&TForm1::Page1Label14, &TForm1::Page1, 122, 336, 250, 14, "Download Pellory", kBandLink,
     &TForm1::Page1Label14Click},
    {&TForm1::Page1Label15, &TForm1::Page1, 20, 354, 454, 14,
     "to make your computer error-free and more efficient!", kFixedCentred},

    {&TForm1::Page2Label01, &TForm1::Page2, 8, 16, 0, 14, "Drive A: Removable", kPlain},
    DriveRow(&TForm1::Page2Label02, 40, "Drive C: Fixed"),
    DriveRow(&TForm1::Page2Label03, 64, "Drive D:"),
    DriveRow(&TForm1::Page2Label04, 88, "Drive E:"),
    DriveRow(&TForm1::Page2Label05, 112, "Drive F:"),
    DriveRow(&TForm1::Page2Label06, 136, "Drive G:"),
    DriveRow(&TForm1::Page2Label07, 160, "Drive H:"),
    DriveRow(&TForm1::Page2Label08, 184, "Drive I:"),
    // The design caption of this slot is spelled with a small j; the first show replaces it.
    DriveRow(&TForm1::Page2Label09, 208, "Drive j:"),
    DriveRow(&TForm1::Page2Label10, 232, "Drive K:"),
    {&TForm1::Page2Label11, &TForm1::Page2, 248, 264, 0, 14, "Drive size:", kPlain},
    {&TForm1::Page2Label12, &TForm1::Page2, 248, 284, 0, 14, "Used:", kPlain},
    {&TForm1::Page2Label13, &TForm1::Page2, 248, 304, 0, 14, "Free:", kPlain},
    {&TForm1::Page2Label14, &TForm1::Page2, 122, 336, 250, 14, "Download Dravenna", kBandLink,
     &TForm1::Page2Label14Click},
    {&TForm1::Page2Label15, &TForm1::Page2, 20, 354, 454, 14,
     "to recover deleted data data from hard disks and any type of storage media.", kFixedCentred},

    {&TForm1::Page3TopLabel, &TForm1::Page3, 8, 8, 225, 30,
     "Processes are the programs running now.", kTopTextCentred},
    {&TForm1::Page3Label04, &TForm1::Page3, 10, 48, 0, 14, "Processes:", kPlain},
    {&TForm1::Page3Label01, &TForm1::Page3, 248, 264, 0, 14, "Memory size:", kPlain},
    {&TForm1::Page3Label02, &TForm1::Page3, 248, 284, 0, 14, "Used:", kPlain},
    {&TForm1::Page3Label03, &TForm1::Page3, 248, 304, 0, 14, "Virtual Memory:", kPlain},
    {&TForm1::Page3Label05, &TForm1::Page3, 122, 336, 250, 14, "Download Kestrova", kBandLink,
     &TForm1::Page3Label05Click},
    {&TForm1::Page3Label06, &TForm1::Page3, 20, 354, 454, 14,
     "Speed up your PC loading several times!", kFixedCentred},

    {&TForm1::Page4TopLabel, &TForm1::Page4, 8, 8, 480, 30,
     "Some programs add themselves to the autorun, and load when the PC starts. Not all of them "
     "are necessary, and their work may slow down the PC processing.",
     kTopText},
    {&TForm1::Page4Label01, &TForm1::Page4, 14, 298, 150, 13, "Open folder", kAction,
     &TForm1::Page4Label01Click},
    {&TForm1::Page4Label02, &TForm1::Page4, 174, 298, 150, 13, "Launch software", kAction,
     &TForm1::Page4Label02Click},
    {&TForm1::Page4Label03, &TForm1::Page4, 334, 298, 150, 13, "Ask Google", kAction,
     &TForm1::Page4Label03Click},
    {&TForm1::Page4Label04, &TForm1::Page4, 122, 336, 250, 14, "Download Lumarel", kBandLink,
     &TForm1::Page4Label04Click},
    {&TForm1::Page4Label05, &TForm1::Page4, 20, 354, 454, 14, "to manage your startup list!",
     kFixedCentred},

    {&TForm1::Page5TopLabel, &TForm1::Page5, 8, 8, 480, 30,
     "Here is the list of programs installed at your PC. You may delete them in the start menu or "
     "control panel.",
     kTopText},
    {&TForm1::Page5Label01, &TForm1::Page5, 122, 336, 250, 14, "Download Ferrowin", kBandLink,
     &TForm1::Page5Label01Click},
    {&TForm1::Page5Label02, &TForm1::Page5, 20, 354, 454, 14,
     "to track applications installation and deinstallation!", kFixedCentred},

    {&TForm1::Page6Label01, &TForm1::Page6, 144, 32, 174, 19, "Orvendel", kTitle},
    {&TForm1::Page6Label02, &TForm1::Page6, 180, 64, 105, 14, "Version: 2.2", kFixedCentred},
    {&TForm1::Page6Label03, &TForm1::Page6, 233, 101, 198, 14, kCopyrightLine, kCentredAuto},
    {&TForm1::Page6Label05, &TForm1::Page6, 232, 168, 39, 14, "Internet:", kRightAligned},
    {&TForm1::Page6Label06, &TForm1::Page6, 280, 168, 145, 14, kMakerSite, kLink,
     &TForm1::Page6Label06Click},
    {&TForm1::Page6Label07, &TForm1::Page6, 242, 192, 27, 14, "Email:", kRightAligned},
    {&TForm1::Page6Label08, &TForm1::Page6, 280, 192, 133, 14, kSupportMail, kLink,
     &TForm1::Page6Label08Click},
};

// The pages in tab order, each with its design caption and the handler that fills it when shown.
struct PageRow {
  PageMember page;
  const char* caption;
  void (TForm1::*show)();
};

const PageRow kPages[] = {
    {&TForm1::Page1, "General", &TForm1::Page1Show},
    {&TForm1::Page2, "Drives", &TForm1::Page2Show},
    {&TForm1::Page3, "Memory", &TForm1::Page3Show},
    {&TForm1::Page4, "Startup list", &TForm1::Page4Show},
    {&TForm1::Page5, "Installed programs", &TForm1::Page5Show},
    {&TForm1::Page6, "About", nullptr},
};

struct BevelRow {
  Bevel TForm1::*bevel;
  PageMember page;
};

const BevelRow kBevels[] = {
    {&TForm1::Bevel1, &TForm1::Page1}, {&TForm1::Bevel2, &TForm1::Page2},
    {&TForm1::Bevel3, &TForm1::Page3}, {&TForm1::Bevel4, &TForm1::Page4},
    {&TForm1::Bevel5, &TForm1::Page5},
};

struct PictureRow {
  Picture TForm1::*picture;
  PageMember page;
  int left, top, width, height;
  const char* resource;
};

const PictureRow kPictures[] = {
    {&TForm1::Image1, &TForm1::Page1, 8, 8, 128, 88, res::kGeneralPicture},
    {&TForm1::Page6Image, &TForm1::Page6, 32, 112, 128, 128, res::kAboutPicture},
};

struct ChartRow {
  PieChart TForm1::*chart;
  PageMember page;
  const char* title;
  PieMarks marks;
};

const ChartRow kCharts[] = {
    {&TForm1::DriveChart, &TForm1::Page2, "TChart", PieMarks::Label},
    {&TForm1::MemoryChart, &TForm1::Page3, "", PieMarks::LabelAndValue},
};

struct ColumnRow {
  const char* caption;
  int width;
};

struct MemoRow {
  Memo TForm1::*memo;
  PageMember page;
  int left, top, width, height;
};

const MemoRow kMemos[] = {
    {&TForm1::Page3List, &TForm1::Page3, 8, 64, 225, 250},
};

const ColumnRow kStartupColumns[] = {{"", 30}, {"User", 80}, {"Program", 100}, {"Location", 240}};
const ColumnRow kProgramColumns[] = {{"Program", 300}, {"Publisher", 156}};

struct ListRow {
  ListView TForm1::*list;
  PageMember page;
  int left, top, width, height;
  const ColumnRow* columns;
  std::size_t columnCount;
  bool infoTips;
};

const ListRow kLists[] = {
    {&TForm1::Page4List, &TForm1::Page4, 4, 56, 480, 228, kStartupColumns,
     std::size(kStartupColumns), false},
    {&TForm1::Page5List, &TForm1::Page5, 4, 48, 480, 263, kProgramColumns,
     std::size(kProgramColumns), true},
};

// The index of page in tab order; -1 (the window itself) for none.
int PageIndex(PageMember page) {
  for (std::size_t index = 0; index < std::size(kPages); ++index) {
    if (kPages[index].page == page) return static_cast<int>(index);
  }
  return -1;
}

// The keys that work wherever the focus is (Ctrl+Tab and Ctrl+PgDn come with the tab control).
struct ShortcutRow {
  UINT key;
  unsigned modifiers;
  bool (TForm1::*action)();
};

const ShortcutRow kShortcuts[] = {
    {VK_F1, kNoModifier, &TForm1::HelpKeyPress},
    {'S', kCtrl, &TForm1::SaveKeyPress},
    {VK_F5, kNoModifier, &TForm1::RefreshKeyPress},
    {'A', kCtrl, &TForm1::SelectAllKeyPress},
    {'C', kCtrl, &TForm1::CopyKeyPress},
    {VK_INSERT, kCtrl, &TForm1::CopyKeyPress},
};

}  // namespace

bool TForm1::CreateControls() {
  // Only what the first view shows is made now: the tabs, the window's own labels, and the
  // General page. Every other page, its window and its controls, is made when it is first needed
  // (CreatePageControls). Every control is attempted, so one that fails leaves the others
  // usable to look at; the window is only offered when all of them exist.
  bool ok = true;
  HWND form = Handle();

  ok = Pages.Create(form, 16, 32, 500, 400) && ok;
  Pages.SetFont(WindowFont());
  for (const PageRow& row : kPages) ok = Pages.AddPage(this->*row.page, row.caption) && ok;
  Pages.OnPageShowing = [this](int index) { CreatePageControls(index); };
  Pages.OnPageShown = [this](int index) { PageShown(index); };
  SetKeyboardTabs(&Pages);

  ok = ImageList1.Create(16, 16) && ok;
  ok = CreateLabels(nullptr) && ok;

  SaveDialog1.FileName = "Orvensys";
  ok = SaveMenu.Create() && ok;
  SaveMenu.Add(SaveAsTXTItem, kSaveAsTxtId, "Save as text");
  SaveMenu.Add(SaveAsHTMLItem, kSaveAsHtmlId, "Save as html");
  SaveAsTXTItem.OnClick = [this] { RunRequest("SaveAsTxt", [this] { SaveAsTxt(); }); };
  SaveAsHTMLItem.OnClick = [this] { RunRequest("SaveAsHTML", [this] { SaveAsHTML(); }); };

  ok = ListMenu.Create() && ok;
  ListMenu.Add(CopyItem, kCopyId, "Copy");
  ListMenu.Add(SelectAllItem, kSelectAllId, "Select all");
  CopyItem.OnClick = [this] {
    if (listMenuTarget_) CopyFrom(*listMenuTarget_);
  };
  SelectAllItem.OnClick = [this] {
    if (listMenuTarget_) SelectAllOf(*listMenuTarget_);
  };
  // The lists whose rows can be copied have the menu.
  for (Control* list : std::initializer_list<Control*>{&Page3List, &Page4List, &Page5List}) {
    list->OnContextMenu = [this](Control& sender, POINT at) { ListContextMenu(sender, at); };
  }
  for (const ShortcutRow& row : kShortcuts) {
    AddShortcut(
        {row.key, row.modifiers, [this, action = row.action] { return (this->*action)(); }});
  }

  ok = CreatePageControls(0) && ok;
  Pages.SetActiveIndex(0);
  return ok;
}

bool TForm1::CreateLabels(PageMember page) {
  bool ok = true;
  HWND parent = page ? (this->*page).Handle() : Handle();
  for (const LabelRow& row : kLabels) {
    if (row.page != page) continue;
    Label& label = this->*row.label;
    ok = label.Create(parent, row.left, row.top, row.width, row.height, row.caption, row.style) &&
         ok;
    if (row.click) label.OnClick = ClickHandler(row.click);
    if (row.hidden) label.SetVisible(false);
  }
  return ok;
}

bool TForm1::CreatePageControls(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kPages))) return false;
  PageControls& state = pageControls_[static_cast<std::size_t>(index)];
  if (state != PageControls::NotMade) return state == PageControls::Made;
  // Marked first: a control that failed is not made a second time beside those that exist.
  state = PageControls::Failed;
  if (!Pages.MakePage(index)) return false;
  const PageMember page = kPages[index].page;
  HWND parent = (this->*page).Handle();
  HFONT windowFont = WindowFont();
  bool ok = true;

  // The same order as the tables within the page: the order of creation is the z-order, and so
  // the order in which Tab visits the page's links.
  for (const PictureRow& row : kPictures) {
    if (row.page != page) continue;
    Picture& picture = this->*row.picture;
    ok = picture.Create(parent, row.left, row.top, row.width, row.height) && ok;
    ok = picture.LoadResource(row.resource) && ok;
  }
  for (const BevelRow& row : kBevels) {
    if (row.page == page) ok = (this->*row.bevel).Create(parent, 20, 328, 454, 3) && ok;
  }
  for (const ChartRow& row : kCharts) {
    if (row.page != page) continue;
    PieChart& chart = this->*row.chart;
    ok = chart.Create(parent, 242, 0, 250, 250) && ok;
    chart.SetMarks(row.marks);
    chart.SetTitle(row.title);
  }
  for (const MemoRow& row : kMemos) {
    if (row.page != page) continue;
    Memo& memo = this->*row.memo;
    ok = memo.Create(parent, row.left, row.top, row.width, row.height) && ok;
    memo.SetFont(windowFont);
    memo.SetLines({""});
  }
  for (const ListRow& row : kLists) {
    if (row.page != page) continue;
    ListView& list = this->*row.list;
    ok = list.Create(parent, row.left, row.top, row.width, row.height,
                     ListViewStyle{.infoTips = row.infoTips}) &&
         ok;
    list.SetFont(windowFont);
    for (std::size_t i = 0; i < row.columnCount; ++i) {
      list.AddColumn(row.columns[i].caption, row.columns[i].width);
    }
    list.SetSmallImages(ImageList1.Handle());
  }
  ok = CreateLabels(page) && ok;

  // The General page, made before the language file is chosen, takes its captions with the
  // window's.
  if (LanguageIni) ApplyCreationCaptions(index);
  if (ok) state = PageControls::Made;
  return ok;
}

int TForm1::PageOf(Label TForm1::*label) {
  for (const LabelRow& row : kLabels) {
    if (row.label == label) return PageIndex(row.page);
  }
  return kOnWindow;
}

int TForm1::PageOf(ListView TForm1::*list) {
  for (const ListRow& row : kLists) {
    if (row.list == list) return PageIndex(row.page);
  }
  return kOnWindow;
}

void TForm1::PageShown(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kPages))) return;
  const auto show = kPages[index].show;
  if (!show) return;
  RunRequest("show:" + std::to_string(index), [this, index, show] {
    // A page the user has left again before its turn came needs no fill now.
    if (Pages.ActiveIndex() != index) return;
    ++PageShowCount[static_cast<std::size_t>(index)];
    (this->*show)();
  });
}

}  // namespace orv
