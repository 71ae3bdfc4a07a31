// A fixed-size dialog-like top-level window: caption with system menu and close button, dialog
// frame, no minimise or maximise box, button-face background, one window font, centred on the
// desktop when first placed. Keyboard navigation between its controls is that of a dialog, and
// Ctrl+Tab / Ctrl+Shift+Tab switch the pages of its tab control.
#pragma once

#include <string>

#include "ui/Container.h"
#include "ui/Fonts.h"

namespace orv {

class TabControl;

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

  // Shows the window in its normal state and raises OnShow.
  void Show();
  // As the close button: OnCloseQuery decides whether the window is destroyed now.
  void Close();

  // Called by the application's loop for every message before it is dispatched; true when the
  // form has handled it (dialog keyboard navigation, tab shortcuts).
  virtual bool PreTranslateMessage(MSG& msg);
  // Gives the focus back to the control that had it when the form was last deactivated.
  void RestoreFocus();
  // The tab control that Ctrl+Tab switches.
  void SetKeyboardTabs(TabControl* tabs) noexcept { keyboardTabs_ = tabs; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual void OnShow() {}
  // WM_CLOSE: return true to destroy the window now.
  virtual bool OnCloseQuery() { return true; }
  virtual void OnDestroy() {}

 private:
  FontSpec font_;
  HWND lastFocus_ = nullptr;
  TabControl* keyboardTabs_ = nullptr;
};

}  // namespace orv
