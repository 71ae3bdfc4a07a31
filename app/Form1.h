// The main window: the logo line, the tab control with its six pages and every page's controls,
// the footer with the copyright line and the "Help" and "Save report" links, and the state that
// the pages share, prepared once when the window is created. A page's controls other than the
// General page's are made when that page is first shown or read. The page handlers live one unit
// per page under pages/; this unit creates the window, prepares the state, applies the language
// file's captions and runs the footer.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/PageSources.h"
#include "app/ShellLink.h"
#include "app/SystemQueries.h"
#include "chart/PieChart.h"
#include "lang/CaptionTable.h"
#include "lang/Language.h"
#include "lang/LookupFn.h"
#include "report/ReportLines.h"
#include "sysinfo/Icons.h"
#include "sysinfo/PathResolve.h"
#include "sysinfo/RegUnit.h"
#include "ui/Application.h"
#include "ui/FillQueue.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/ImageList.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/Menu.h"
#include "ui/Outside.h"
#include "ui/TabControl.h"

namespace orv {

class TForm1 : public Form {
 public:
  // outside: where shell requests, message boxes, the save dialog and the pop-up menu go.
  explicit TForm1(Outside& outside, SystemQueries queries = SystemQueries::Real());
  ~TForm1() override;

  // Creates the window (hidden) owned by owner and the controls of the first view (tabs, footer,
  // General page) with their design values, then runs CreateForm. False when the window or any
  // of those controls cannot be created.
  bool Create(HWND owner);
  // Makes the controls of page index (tab order) with their design values and creation-time
  // captions, once: the first time the page is shown, or when a fill or a report needs them
  // earlier. False when the page's controls could not all be made.
  bool CreatePageControls(int index);

  // ---- Controls, in the order of the window's design.
  Label LogoLabel;
  Label ProduceLabel;
  TabControl Pages;
  TabPage Page1;
  Picture Image1;
  Label Page1Label01, Page1Label02, Page1Label03, Page1Label04, Page1Label05, Page1Label06,
      Page1Label07, Page1Label08, Page1Label09, Page1Label10, Page1Label11, Page1Label12,
      Page1Label13, Page1Label14, Page1Label15;
  Bevel Bevel1;
  TabPage Page2;
  PieChart DriveChart;
  Label Page2Label01, Page2Label02, Page2Label03, Page2Label04, Page2Label05, Page2Label06,
      Page2Label07, Page2Label08, Page2Label09, Page2Label10, Page2Label11, Page2Label12,
      Page2Label13, Page2Label14, Page2Label15;
  Bevel Bevel2;
  TabPage Page3;
  Label Page3TopLabel;
  Memo Page3List;
  PieChart MemoryChart;
  PieChart& PieSeries1 = MemoryChart;  // the memory chart's slices
  Label Page3Label01, Page3Label02, Page3Label03, Page3Label04, Page3Label05, Page3Label06;
  Bevel Bevel3;
  TabPage Page4;
  Label Page4TopLabel;
  ListView Page4List;
  ImageList ImageList1;  // small images of Page4List and Page5List
  Label Page4Label01, Page4Label02, Page4Label03, Page4Label04, Page4Label05;
  Bevel Bevel4;
  TabPage Page5;
  Label Page5TopLabel;
  ListView Page5List;
  Bevel Bevel5;
  Label Page5Label01, Page5Label02;
  TabPage Page6;
  Picture Page6Image;
  Label Page6Label01, Page6Label02, Page6Label03, Page6Label05, Page6Label06, Page6Label07,
      Page6Label08;
  Label HelpLabel;
  Label SaveLabel;
  SaveDialog SaveDialog1;
  PopupMenu SaveMenu;
  MenuItem SaveAsTXTItem, SaveAsHTMLItem;
  // The menu of the process, Startup and Installed programs lists.
  PopupMenu ListMenu;
  MenuItem CopyItem, SelectAllItem;
  ApplicationEvents ApplicationEvents1;
  PieChart& Series1 = DriveChart;  // the drive chart's slices

  // ---- Handlers.
  void CreateForm();
  void Page1Show();
  void Page1Label14Click(Label& sender);
  void Page2Show();
  // Shared by the nine drive labels; sender is the drive label.
  void Page2LabelClick(Label& sender);
  void Page2Label14Click(Label& sender);
  void Page3Show();
  void Page3Label05Click(Label& sender);
  void Page4Show();
  void Page4Label01Click(Label& sender);
  void Page4Label02Click(Label& sender);
  void Page4Label03Click(Label& sender);
  void Page4Label04Click(Label& sender);
  void GetUninstallNames(HKEY root, const std::string& keyPath);
  void Page5Show();
  void Page5Label01Click(Label& sender);
  void Page6Label06Click(Label& sender);
  void Page6Label08Click(Label& sender);
  void SaveLabelClick(Label& sender);
  void SaveAsTxt();
  void SaveAsHTML();
  void HelpLabelClick(Label& sender);
  // The keyboard's commands, from the shortcut table; each returns whether the key was taken.
  bool HelpKeyPress();
  bool SaveKeyPress();
  bool RefreshKeyPress();
  bool SelectAllKeyPress();
  bool CopyKeyPress();
  // A right click or the Menu key on a list: its menu, acting on that list.
  void ListContextMenu(Control& sender, POINT screen);
  void MessageEvent(MSG& msg, bool& handled);
  void DestroyForm();

  // ---- Shared state, prepared once by CreateForm.
  UINT RestoreMessageId = 0;
  std::string CurrentUserName;
  std::string AppDir;
  std::string WinDir;
  std::string SysDir;
  std::string ProgramFilesDir;
  bool Is64BitWindows = false;
  std::string UserAppDataRoot;
  // What "%USERPROFILE%" in stored command lines stands for: the user's profile folder.
  std::string UserProfileDir;
  std::string UserStartupDir;
  std::string CommonStartupDir;
  // The same folders by their exact paths, which the Startup page lists.
  std::wstring UserStartupDirExact;
  std::wstring CommonStartupDirExact;
  ShellLink ShellLinkObject;
  StringList InstalledProgramList;
  std::int32_t LanguageIndex = 0;
  std::string LanguageFileName;
  std::optional<orv::LanguageIni> LanguageIni;

  // How many images the last Startup fill left in ImageList1; the Programs page's images follow
  // them.
  int StartupImageCount = 0;

  // The drive letter each drive label (Page2Label02 to Page2Label10) stands for.
  std::array<char, 9> DriveLabelLetter{'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'};
  // The nine drive labels, made or not: the Drives page's controls come with its first show.
  std::array<Label*, 9> DriveLabels();

  // Where the information pages get their facts; tests replace single queries.
  PageSources Sources = PageSources::Real();

  // ---- Services for the page handlers.
  // The language file's text for section and key; defaultText (the English one) when the file
  // does not give one.
  std::string LookupLanguageText(const std::string& section, const std::string& key,
                                 const std::string& defaultText) const;
  // LookupLanguageText as the text rules take it.
  LookupFn Lookup() const;
  // Lets the window messages that wait now through.
  void ProcessMessages();
  // The same at most once a millisecond: the long fills call it once per item.
  void PaceMessages();
  // Runs a request (a page fill, a click, a report) now, or, while another one runs, right after
  // it; a request whose key is already waiting is not queued again.
  void RunRequest(const std::string& key, std::function<void()> action);
  bool FillRunning() const noexcept { return fills_.Busy(); }
  // Runs the body of page index's show handler. A page fill never runs inside another: called
  // from inside one (from its message pump), it waits and runs right after it. Called from a
  // request that is running (a tab's show, a report reading the pages) it runs at once; called
  // from outside any request it runs now as a request of its own, so that what arrives during it
  // waits.
  void RunPageFill(int index, const std::function<void()>& fill);
  bool PageFillRunning() const noexcept { return pageFillRunning_; }
  // True once the user asked to close the window during a fill: a long fill may stop early.
  bool ClosePending() const noexcept { return closePending_; }
  // The folders that replace the environment tokens of stored command lines and shortcut targets.
  PathFolders CommandFolders() const;
  // ShellExecuteA(this window, "open", target, NULL, NULL, SW_SHOWNORMAL).
  void OpenInShell(const std::string& target);
  Outside& World() const noexcept { return outside_; }

  // How often each page's show handler has run (tab order); the About page has none.
  std::array<int, 6> PageShowCount{};

  // The command ids of the "Save report" menu.
  static constexpr UINT kSaveAsTxtId = 101;
  static constexpr UINT kSaveAsHtmlId = 102;
  static constexpr UINT kCopyId = 103;
  static constexpr UINT kSelectAllId = 104;

 protected:
  void OnShow() override;
  bool OnCloseQuery() override;
  void OnDestroy() override;

 private:
  bool CreateControls();
  // The design's labels on page, or on the window itself for nullptr.
  bool CreateLabels(TabPage TForm1::*page);
  // Where the design puts a control: a page's index (tab order), or the window itself.
  static constexpr int kOnWindow = -1;
  static int PageOf(Label TForm1::*label);
  static int PageOf(ListView TForm1::*list);
  // The creation-time captions of the controls on page: the window's own (tabs, footer links,
  // menu items) for kOnWindow. Only those are looked up, so a page made later reads its captions
  // then.
  void ApplyCreationCaptions(int page);
  // Where target's control is: the window itself for tabs and menu items.
  static int CaptionPage(CaptionTarget target);
  // Both report writers: asks for the file name, refreshes the pages and writes them.
  void SaveReport(bool html);
  // Runs the five show handlers in tab order and copies what each page then shows.
  ReportContent GatherReport();
  void PageShown(int index);
  // The request key of a click on label: a second click on the same label while the first waits
  // replaces it.
  static std::string ClickKey(const Label& label);
  std::function<void(Label&)> ClickHandler(void (TForm1::*handler)(Label&));
  // Ctrl+A and Ctrl+C on list, once the fill under way (if any) is over.
  void SelectAllOf(CopySource& list);
  void CopyFrom(CopySource& list);

  Outside& outside_;
  SystemQueries queries_;
  FillQueue fills_;
  bool closePending_ = false;
  bool pageFillRunning_ = false;
  bool destroyed_ = false;
  CopySource* listMenuTarget_ = nullptr;
  HRESULT shellLinkResult_ = S_OK;
  enum class PageControls { NotMade, Made, Failed };
  std::array<PageControls, 6> pageControls_{};
  // The "DisplayIcon" of each entry that the Programs fill collected (none: no such value), read
  // while its subkey was open for the other values. Keyed by the entry itself, which is one per
  // subkey (no two entries share a display name): two subkeys whose names differ only outside the
  // code page share the code page's form of their key path.
  std::unordered_map<std::string, std::optional<std::string>> displayIcons_;
};

}  // namespace orv
