#include "ui/Outside.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "base/SystemLibrary.h"

namespace orv {
namespace {

using GetSaveFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs library is loaded the first time a dialog is asked for, and kept: it is among
// the largest libraries a program can load (about 5 MB of memory under Wine), and most sessions
// never save a report. Null when it cannot be loaded.
GetSaveFileNameFn SaveFileNameFunction() {
  static const GetSaveFileNameFn function = [] {
    return SystemFunction<GetSaveFileNameFn>(LoadSystemLibrary("comdlg32.dll"), "GetSaveFileNameA");
  }();
  return function;
}

class WindowsOutside final : public Outside {
 public:
  void ShellOpen(HWND owner, const std::string& target) override {
    ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }

  int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                  UINT style) override {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
  }

  bool AskSaveFileName(HWND owner, std::string& fileName) override {
    const GetSaveFileNameFn getSaveFileName = SaveFileNameFunction();
    if (!getSaveFileName) return false;
    // Long enough for any path the dialog can return; the offered name is cut to fit.
    std::vector<char> buffer(32768, '\0');
    fileName.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    // No filter, no default extension, no title of its own and no overwrite question: the report
    // writers add the extension themselves and replace an existing file.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!getSaveFileName(&ofn)) return false;
    fileName = buffer.data();
    return true;
  }

  UINT TrackPopup(HMENU menu, HWND owner, int x, int y) override {
    // A pop-up menu of a window that is not in the foreground does not close when the user clicks
    // elsewhere; the posted null message lets the menu's own loop end cleanly.
    SetForegroundWindow(owner);
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y,
                       0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return id;
  }
};

}  // namespace

Outside& RealOutside() {
  static WindowsOutside outside;
  return outside;
}

}  // namespace orv
