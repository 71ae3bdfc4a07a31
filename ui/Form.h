// A fixed-size dialog-like top-level window: caption with system menu and close button, dialog
// frame, no minimise or maximise box, button-face background, one window font, centred on the
// desktop when first placed. Keyboard navigation between its controls is that of a dialog, focus
// cues show once the keyboard is used, Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDn / Ctrl+PgUp switch
// the pages of its tab control, and a table of shortcut keys runs the form's own commands
// whichever control has the focus.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Container.h"
#include "ui/Fonts.h"

namespace orv {

class TabControl;

// The modifier keys a shortcut needs held, exactly: Alt never.
enum KeyModifiers : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2 };

struct Shortcut {
  UINT key;  // virtual-key code
  unsigned modifiers;
  // Returns false when the key means nothing at the moment; it then goes on as usual.
  std::function<bool()> action;
};

class Form : public Container {
 public:
  // Creates the (hidden) window with a client area of the given size, owned by owner (the
  // application's title window), centred on the desktop.
  bool CreateFrame(HWND owner, const std::string& caption, int clientWidth, int clientHeight,
                   const FontSpec& font);
  HFONT WindowFont() const { return SharedFont(font_); }

  void SetIcons(HICON big, HICON small);
  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // Raises OnShow, then shows the window in its normal state.
  void Show();
  // As the close button: OnCloseQuery decides whether the window is destroyed now.
  void Close();

  // Called by the application's loop for every message before it is dispatched; true when the
  // form has handled it (dialog keyboard navigation, tab shortcuts).
  virtual bool PreTranslateMessage(MSG& msg);
  // Gives the focus back to the control that had it when the form was last deactivated.
  void RestoreFocus();
  // The tab control that Ctrl+Tab and Ctrl+PgDn switch.
  void SetKeyboardTabs(TabControl* tabs);
  // Adds a shortcut key; the first row that matches a key press and acts takes it.
  void AddShortcut(Shortcut shortcut) { shortcuts_.push_back(std::move(shortcut)); }
  // After something may have taken the focus away (a control hidden under it): when the focus
  // is on no control of the window, it goes back to before, or to the first control that takes
  // it when before is gone or hidden. A focus the user has moved meanwhile stays.
  void KeepFocus(HWND before);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual void OnShow() {}
  // WM_CLOSE: return true to destroy the window now.
  virtual bool OnCloseQuery() { return true; }
  virtual void OnDestroy() {}

 private:
  FontSpec font_;
  // Shortcut keys, Tab and the Menu key; true when the key was taken.
  bool HandleKey(const MSG& msg);
  // The controls Tab visits, in order, as they are now.
  std::vector<HWND> TabStops() const;
  // Tab and Shift+Tab: the focus to the next or the previous of them, wrapping round.
  bool MoveFocus(bool back);
  // Steps the tab control's active page forward or back, wrapping round.
  bool StepPage(int step);

  HWND lastFocus_ = nullptr;
  TabControl* keyboardTabs_ = nullptr;
  std::vector<Shortcut> shortcuts_;
};

}  // namespace orv
