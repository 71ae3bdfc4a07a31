// The common ground of the child controls: a real child window (STATIC, EDIT, SysListView32, ...)
// with position, visibility, text and font, and the hooks through which its parent (a Container)
// passes on the notifications and colour requests that Windows sends to the parent.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

namespace orv {

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const noexcept { return hwnd_; }
  // The control object behind a child window, or nullptr.
  static Control* FromHandle(HWND hwnd) noexcept;

  // Position and size relative to the parent's client area. Kept as the window reports each
  // change of them, so that reading them costs the window system nothing.
  RECT Bounds() const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left);
  void SetWidth(int width);

  // The control's own visible flag, whether or not its page or window is on screen.
  bool Visible() const;
  void SetVisible(bool visible);

  std::string Text() const;
  // Redrawn at once unless redraw is false.
  void SetFont(HFONT font, bool redraw = true);
  HFONT Font() const;

  // Called by the parent for the child's WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* and WM_SETCURSOR.
  virtual void OnCommand(WORD /*code*/) {}
  virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
  // A brush for the background (the DC's colours set), or nullptr for the system's default.
  virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
  virtual bool OnSetCursor() { return false; }

  // Raised for a right click on the control or the Menu key (Shift+F10) while it has the focus,
  // with the screen point where the menu belongs. Taken from the control's own window, so a control
  // that would show a menu of its own (a text box) shows this one instead.
  std::function<void(Control& sender, POINT screen)> OnContextMenu;

 protected:
  // Sees every message of the control's window before the window's own procedure; returns true
  // when it handled the message, with its result in result. The default raises OnContextMenu.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The window's own procedure, for a handler that adds to what it does.
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const;
  // Where the menu asked for by the keyboard opens, in screen coordinates: by default just inside
  // the control's top-left corner.
  virtual POINT KeyboardMenuPoint() const;

  // Creates the child window and ties this object to it.
  bool CreateChild(const char* className, DWORD exStyle, DWORD style, const std::string& text,
                   int x, int y, int width, int height, HWND parent);
  bool Attach(HWND hwnd);
  // Records bounds as the window's own, for a window known to have them (just made with them).
  void KnowBounds(const RECT& bounds) noexcept { bounds_ = bounds; }

  HWND hwnd_ = nullptr;

 private:
  void Detach() noexcept;
  // Follows a move or resize of the window, by whomever it was made.
  void Moved(const WINDOWPOS& position) noexcept;

  mutable std::optional<RECT> bounds_;  // none until read or known
  static LRESULT CALLBACK WatchDestruction(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace orv
