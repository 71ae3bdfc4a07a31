// Everything the program does to the world outside its own window that a test must not trigger
// for real: the shell's "open", message boxes, the save dialog and the modal pop-up menu. The form
// holds one Outside; the program passes the real one, window-level tests a recording one.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

class Outside {
 public:
  virtual ~Outside() = default;

  // ShellExecuteA(owner, "open", target, NULL, NULL, SW_SHOWNORMAL); the result is not examined.
  virtual void ShellOpen(HWND owner, const std::string& target) = 0;

  // A modal message box; returns the button pressed (IDOK ...).
  virtual int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                          UINT style) = 0;

  // The common save-file dialog, offering fileName and returning the chosen full path in it.
  // False when the user cancels or no dialog can be shown.
  virtual bool AskSaveFileName(HWND owner, std::string& fileName) = 0;

  // Shows menu as a pop-up with its top-left corner at the screen point (x, y) and returns the
  // command id of the item chosen, 0 when the menu was dismissed.
  virtual UINT TrackPopup(HMENU menu, HWND owner, int x, int y) = 0;
};

// The real outside world: the shell, user32 and the common dialogs.
Outside& RealOutside();

}  // namespace orv
