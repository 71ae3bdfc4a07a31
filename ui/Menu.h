// A pop-up menu of command items, opened at a screen point; and the save-file dialog object.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "ui/Outside.h"

namespace orv {

class PopupMenu;

class MenuItem {
 public:
  UINT Id() const noexcept { return id_; }
  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // Raised when the user chooses the item.
  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }

 private:
  friend class PopupMenu;
  PopupMenu* menu_ = nullptr;
  UINT id_ = 0;
};

class PopupMenu {
 public:
  bool Create();
  HMENU Handle() const noexcept { return menu_.Get(); }
  // Appends item with its command id and caption.
  void Add(MenuItem& item, UINT id, const std::string& caption);
  // Opens the menu with its top-left corner at the screen point (x, y) and runs the chosen item's
  // OnClick; returns the chosen id, 0 when dismissed.
  UINT Popup(Outside& outside, HWND owner, int x, int y);

 private:
  UniqueMenu menu_;
  std::vector<MenuItem*> items_;
};

// The save-file dialog: remembers the name chosen last and offers it the next time.
class SaveDialog {
 public:
  std::string FileName;
  // True when the user chose a name (then FileName holds the full path).
  bool Execute(Outside& outside, HWND owner) { return outside.AskSaveFileName(owner, FileName); }
};

}  // namespace orv
