// The main window's life: creation of the window and the shared state, the creation-time
// captions, the footer links, the restore request of a second copy, and the end.
#include "app/Form1.h"

#include <stdexcept>
#include <utility>

#include "app/ShellText.h"
#include "app/res/ResourceIds.h"
#include "base/CodePage.h"
#include "base/FileAttributes.h"
#include "base/TextRules.h"
#include "lang/CaptionTable.h"
#include "sysinfo/RegUnit.h"
#include "ui/SystemErrorText.h"

namespace orv {
namespace {

// The 64-bit build runs on 64-bit Windows only.
constexpr bool kIs64BitBuild = sizeof(void*) == 8;

constexpr char kShellFoldersKey[] =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

// Where each creation-time caption goes: a label, a tab, a list column or a menu item.
struct CaptionSink {
  CaptionTarget target;
  Label TForm1::*label = nullptr;
  int tab = -1;
  ListView TForm1::*list = nullptr;
  int column = -1;
  MenuItem TForm1::*item = nullptr;
};

const CaptionSink kCaptionSinks[] = {
    {CaptionTarget::Page1Tab, nullptr, 0},
    {CaptionTarget::Page1Label14, &TForm1::Page1Label14},
    {CaptionTarget::Page1Label15, &TForm1::Page1Label15},
    {CaptionTarget::Page2Tab, nullptr, 1},
    {CaptionTarget::Page2Label01, &TForm1::Page2Label01},
    {CaptionTarget::Page2Label02, &TForm1::Page2Label02},
    {CaptionTarget::Page2Label14, &TForm1::Page2Label14},
    {CaptionTarget::Page2Label15, &TForm1::Page2Label15},
    {CaptionTarget::Page3Tab, nullptr, 2},
    {CaptionTarget::Page3TopLabel, &TForm1::Page3TopLabel},
    {CaptionTarget::Page3Label05, &TForm1::Page3Label05},
    {CaptionTarget::Page3Label06, &TForm1::Page3Label06},
    {CaptionTarget::Page4Tab, nullptr, 3},
    {CaptionTarget::Page4TopLabel, &TForm1::Page4TopLabel},
    {CaptionTarget::Page4ListColumn1, nullptr, -1, &TForm1::Page4List, 1},
    {CaptionTarget::Page4ListColumn2, nullptr, -1, &TForm1::Page4List, 2},
    {CaptionTarget::Page4ListColumn3, nullptr, -1, &TForm1::Page4List, 3},
    {CaptionTarget::Page4Label01, &TForm1::Page4Label01},
    {CaptionTarget::Page4Label02, &TForm1::Page4Label02},
    {CaptionTarget::Page4Label03, &TForm1::Page4Label03},
    {CaptionTarget::Page4Label04, &TForm1::Page4Label04},
    {CaptionTarget::Page4Label05, &TForm1::Page4Label05},
    {CaptionTarget::Page5Tab, nullptr, 4},
    {CaptionTarget::Page5TopLabel, &TForm1::Page5TopLabel},
    {CaptionTarget::Page5ListColumn0, nullptr, -1, &TForm1::Page5List, 0},
    {CaptionTarget::Page5ListColumn1, nullptr, -1, &TForm1::Page5List, 1},
    {CaptionTarget::Page5Label01, &TForm1::Page5Label01},
    {CaptionTarget::Page5Label02, &TForm1::Page5Label02},
    {CaptionTarget::Page6Tab, nullptr, 5},
    {CaptionTarget::Page6Label02, &TForm1::Page6Label02},
    {CaptionTarget::Page6Label05, &TForm1::Page6Label05},
    {CaptionTarget::Page6Label07, &TForm1::Page6Label07},
    {CaptionTarget::HelpLabel, &TForm1::HelpLabel},
    {CaptionTarget::SaveLabel, &TForm1::SaveLabel},
    {CaptionTarget::SaveAsTXTItem, nullptr, -1, nullptr, -1, &TForm1::SaveAsTXTItem},
    {CaptionTarget::SaveAsHTMLItem, nullptr, -1, nullptr, -1, &TForm1::SaveAsHTMLItem},
};

}  // namespace

TForm1::TForm1(Outside& outside, SystemQueries queries)
    : outside_(outside), queries_(std::move(queries)) {
  Application::Instance().SetOutside(&outside_);
  fills_.SetErrorSink(
      [](std::exception_ptr error) { Application::Instance().HandleException(error); });
  ApplicationEvents1.OnMessage = [this](MSG& msg, bool& handled) { MessageEvent(msg, handled); };
}

TForm1::~TForm1() {
  // Destroyed while the whole object is alive, so DestroyForm runs as the window goes.
  Destroy();
  if (Application::Instance().MainForm() == this) Application::Instance().SetMainForm(nullptr);
  Application::Instance().SetOutside(nullptr);
}

bool TForm1::Create(HWND owner) {
  if (!CreateFrame(owner, " System Information", 528, 460, FontSpec{"Arial", 11, false, false})) {
    return false;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto icon = [&](int metricX, int metricY) {
    return static_cast<HICON>(LoadImageA(instance, res::kWindowIcon, IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_SHARED));
  };
  SetIcons(icon(SM_CXICON, SM_CYICON), icon(SM_CXSMICON, SM_CYSMICON));
  if (!CreateControls()) return false;
  CreateForm();
  return true;
}

std::string TForm1::ClickKey(const Label& label) {
  return "click:" + std::to_string(reinterpret_cast<std::uintptr_t>(&label));
}

std::function<void(Label&)> TForm1::ClickHandler(void (TForm1::*handler)(Label&)) {
  return [this, handler](Label& sender) {
    Label* label = &sender;
    RunRequest(ClickKey(sender), [this, handler, label] { (this->*handler)(*label); });
  };
}

void TForm1::CreateForm() {
  // 1, 2, 3
  RestoreMessageId = RegisterWindowMessageA(kRestoreMessageName);
  CurrentUserName = queries_.userName();
  AppDir = ProgramDirectory(queries_.programPath());
  // 4
  WinDir = WithTrailingBackslash(queries_.windowsDirectory());
  SysDir = WithTrailingBackslash(queries_.systemDirectory());
  ProgramFilesDir = WithTrailingBackslash(queries_.folderPath(kFolderProgramFiles));
  Is64BitWindows = kIs64BitBuild || NamesX86ProgramFiles(ProgramFilesDir);
  // 5
  UserAppDataRoot =
      WithTrailingBackslash(CutAfterLastBackslash(queries_.folderPath(kFolderAppData)));
  // The parent of the application-data folder is the profile on XP only; from Vista on it is
  // the profile's "AppData" folder, so the profile is asked for in its own right.
  const std::string profile = queries_.folderPath(kFolderProfile);
  UserProfileDir = profile.empty() ? UserAppDataRoot : WithTrailingBackslash(profile);
  // 6, 7: the registry only when the shell gives no path. By the exact paths, which name the
  // folders whatever the profile path holds; the code page's forms beside them.
  auto shellFolder = [this](HKEY root, const char* value) {
    return
        [this, root, value] { return queries_.readRegistryString(root, kShellFoldersKey, value); };
  };
  UserStartupDirExact = FirstNonEmpty(queries_.exactFolderPath(kFolderStartup),
                                      shellFolder(HKEY_CURRENT_USER, "Startup"),
                                      shellFolder(HKEY_CURRENT_USER, "AltStartup"));
  CommonStartupDirExact = FirstNonEmpty(queries_.exactFolderPath(kFolderCommonStartup),
                                        shellFolder(HKEY_LOCAL_MACHINE, "Startup"),
                                        shellFolder(HKEY_LOCAL_MACHINE, "Common Startup"));
  // 8
  UserStartupDirExact = WithTrailingBackslash(UserStartupDirExact);
  CommonStartupDirExact = WithTrailingBackslash(CommonStartupDirExact);
  UserStartupDir = NarrowText(UserStartupDirExact);
  CommonStartupDir = NarrowText(CommonStartupDirExact);
  // 9: without the object the Startup page lists shortcuts without their targets; the rest of
  // the window is prepared all the same and the failure is reported once the window is ready.
  shellLinkResult_ = queries_.createShellLink(ShellLinkObject);
  // 10 leaves nothing to prepare: every icon has its one owner. 11: starts empty.
  InstalledProgramList.clear();
  // 12
  const LanguageChoice choice = ChooseLanguageFile(AppDir);
  LanguageIndex = choice.index;
  LanguageFileName = choice.fileName;
  LanguageIni.emplace(choice.path);
  // 13
  SetCaption(queries_.computerName());
  // 14, 15, 16: the window's captions, and those of the pages made so far; a page made later
  // looks its captions up when it is made.
  ApplyCreationCaptions(kOnWindow);
  for (int index = 0; index < Pages.PageCount(); ++index) {
    if (pageControls_[static_cast<std::size_t>(index)] != PageControls::NotMade) {
      ApplyCreationCaptions(index);
    }
  }
  Pages.SetActiveIndex(0);

  if (FAILED(shellLinkResult_)) {
    Application::Instance().HandleException(std::make_exception_ptr(
        std::runtime_error("Cannot create the shell link object. " +
                           SystemErrorText(static_cast<DWORD>(shellLinkResult_)))));
  }
}

int TForm1::CaptionPage(CaptionTarget target) {
  for (const CaptionSink& sink : kCaptionSinks) {
    if (sink.target != target) continue;
    if (sink.label) return PageOf(sink.label);
    if (sink.list) return PageOf(sink.list);
  }
  return kOnWindow;
}

void TForm1::ApplyCreationCaptions(int page) {
  const auto inScope = [page](CaptionTarget target) { return CaptionPage(target) == page; };
  for (const CaptionText& caption : CreationCaptions(Lookup(), inScope)) {
    for (const CaptionSink& sink : kCaptionSinks) {
      if (sink.target != caption.target) continue;
      if (sink.label) (this->*sink.label).SetCaption(caption.text);
      if (sink.tab >= 0) Pages.SetPageCaption(sink.tab, caption.text);
      if (sink.list) (this->*sink.list).SetColumnCaption(sink.column, caption.text);
      if (sink.item) (this->*sink.item).SetCaption(caption.text);
    }
    // What follows a caption right away.
    switch (caption.target) {
      case CaptionTarget::Page4TopLabel:
        Page4List.SetDoubleBuffered(true);
        break;
      case CaptionTarget::Page5TopLabel:
        Page5List.SetDoubleBuffered(true);
        break;
      case CaptionTarget::CopyItem:
        // The shortcut as Windows' own menus show it.
        CopyItem.SetCaption(caption.text + "\tCtrl+C");
        break;
      case CaptionTarget::SelectAllItem:
        SelectAllItem.SetCaption(caption.text + "\tCtrl+A");
        break;
      case CaptionTarget::SaveLabel:
        // Both footer links have their final widths now: "Help" goes 10 pixels left of
        // "Save report", whose right edge stays where the design put it.
        HelpLabel.SetLeft(SaveLabel.Left() - HelpLabel.Width() - 10);
        break;
      default:
        break;
    }
  }
}

std::string TForm1::LookupLanguageText(const std::string& section, const std::string& key,
                                       const std::string& defaultText) const {
  return LanguageIni ? LanguageIni->Read(section, key, defaultText) : defaultText;
}

LookupFn TForm1::Lookup() const {
  return
      [this](const std::string& section, const std::string& key, const std::string& defaultText) {
        return LookupLanguageText(section, key, defaultText);
      };
}

std::array<Label*, 9> TForm1::DriveLabels() {
  return {&Page2Label02, &Page2Label03, &Page2Label04, &Page2Label05, &Page2Label06,
          &Page2Label07, &Page2Label08, &Page2Label09, &Page2Label10};
}

void TForm1::ProcessMessages() { Application::Instance().ProcessMessages(); }

void TForm1::PaceMessages() { Application::Instance().PaceMessages(); }

void TForm1::RunRequest(const std::string& key, std::function<void()> action) {
  fills_.Run(key, std::move(action));
}

void TForm1::RunPageFill(int index, const std::function<void()>& fill) {
  auto guarded = [this, index, fill] {
    // A page read before it was ever shown (by a report, a key) is made first.
    if (!CreatePageControls(index)) {
      throw std::runtime_error("Cannot create the controls of the page \"" +
                               Pages.PageCaption(index) + "\".");
    }
    // A control hidden and shown again by the fill loses the focus on the way; it gets it back.
    const HWND focus = GetFocus();
    {
      struct Mark {
        bool& flag;
        explicit Mark(bool& f) : flag(f) { flag = true; }
        ~Mark() { flag = false; }
      } mark(pageFillRunning_);
      fill();
    }
    KeepFocus(focus);
  };
  // While a page fill runs the queue is busy, so the request waits for it.
  if (pageFillRunning_ || !fills_.Busy()) {
    RunRequest("fill:" + std::to_string(index), guarded);
  } else {
    guarded();
  }
}

PathFolders TForm1::CommandFolders() const { return PathFolders{WinDir, UserProfileDir}; }

void TForm1::OpenInShell(const std::string& target) { outside_.ShellOpen(Handle(), target); }

void TForm1::OnShow() { Pages.RaiseShownForActive(); }

bool TForm1::OnCloseQuery() {
  if (!fills_.Busy()) return true;
  // Closing in the middle of a fill would pull the controls from under it: the window closes
  // as soon as the fill is over.
  closePending_ = true;
  RunRequest("close", [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  return false;
}

void TForm1::OnDestroy() { DestroyForm(); }

void TForm1::DestroyForm() {
  if (destroyed_) return;
  destroyed_ = true;
  LanguageIni.reset();
  InstalledProgramList.clear();
}

void TForm1::HelpLabelClick(Label& /*sender*/) {
  if (FileExists(kHelpFileName)) {
    OpenInShell(kHelpFileName);
  } else {
    outside_.ShowMessage(Handle(), "Help file not found!", "Warning", MB_OK);
  }
}

void TForm1::SaveLabelClick(Label& /*sender*/) {
  // The menu's corner: the window's outer top-left plus the label's right edge and top in the
  // client area.
  RECT window{};
  GetWindowRect(Handle(), &window);
  SaveMenu.Popup(outside_, Handle(), window.left + SaveLabel.Left() + SaveLabel.Width(),
                 window.top + SaveLabel.Top());
}

bool TForm1::HelpKeyPress() {
  HelpLabel.Click();
  return true;
}

bool TForm1::SaveKeyPress() {
  SaveLabel.Click();
  return true;
}

bool TForm1::RefreshKeyPress() {
  Pages.RaiseShownForActive();
  return true;
}

bool TForm1::SelectAllKeyPress() {
  auto* list = dynamic_cast<CopySource*>(Control::FromHandle(GetFocus()));
  if (list) SelectAllOf(*list);
  return list != nullptr;
}

bool TForm1::CopyKeyPress() {
  auto* list = dynamic_cast<CopySource*>(Control::FromHandle(GetFocus()));
  if (list) CopyFrom(*list);
  return list != nullptr;
}

void TForm1::SelectAllOf(CopySource& list) {
  CopySource* target = &list;
  RunRequest("SelectAll", [target] { target->SelectAll(); });
}

void TForm1::CopyFrom(CopySource& list) {
  CopySource* source = &list;
  RunRequest("Copy", [this, source] {
    if (!PutTextOnClipboard(Handle(), source->CopyText())) MessageBeep(MB_ICONWARNING);
  });
}

void TForm1::ListContextMenu(Control& sender, POINT screen) {
  listMenuTarget_ = dynamic_cast<CopySource*>(&sender);
  if (listMenuTarget_) ListMenu.Popup(outside_, Handle(), screen.x, screen.y);
}

void TForm1::MessageEvent(MSG& msg, bool& /*handled*/) {
  if (RestoreMessageId != 0 && msg.message == RestoreMessageId && msg.wParam == kRestoreWParam) {
    Application::Instance().Restore();
    Application::Instance().BringToFront();
  }
}

}  // namespace orv
