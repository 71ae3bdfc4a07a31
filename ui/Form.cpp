#include "ui/Form.h"

#include <algorithm>
#include <vector>

#include "ui/Application.h"
#include "ui/TabControl.h"

namespace orv {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

// The controls Tab visits, in the order of the window's design: every visible, enabled tab stop,
// and after a control that holds others (the tab control with its visible page) the ones inside
// it. The dialog manager alone would never stop on the tab control itself, since it holds the
// pages.
void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
    if (style & WS_TABSTOP) stops.push_back(child);
    if (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabStops(child, stops);
  }
}

}  // namespace

bool Form::CreateFrame(HWND owner, const std::string& caption, int clientWidth, int clientHeight,
                       const FontSpec& font) {
  font_ = font;
  RECT rc{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rc, kStyle, FALSE, kExStyle);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  // The centre of the desktop as the user sees it: the primary screen's work area.
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + ((work.right - work.left) - width) / 2;
  const int y = work.top + ((work.bottom - work.top) - height) / 2;
  if (!CreateOfClass({"OrvendelForm", CS_DBLCLKS, nullptr, nullptr, nullptr}, kExStyle, kStyle,
                     caption, x, y, width, height, owner)) {
    return false;
  }
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont()), FALSE);
  return true;
}

void Form::SetIcons(HICON big, HICON small) {
  if (big) SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small) SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

std::string Form::Caption() const {
  const int length = GetWindowTextLengthA(Handle());
  std::vector<char> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(Handle(), buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void Form::SetCaption(const std::string& caption) { SetWindowTextA(Handle(), caption.c_str()); }

void Form::Show() {
  // Focus cues wait for the keyboard, unless the user asked Windows to show them always.
  BOOL cuesAlways = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cuesAlways, 0);
  SendMessageA(Handle(), WM_CHANGEUISTATE,
               MAKEWPARAM(cuesAlways ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  // What OnShow fills is in place when the window is first painted: no empty rows flash up, and
  // the window does not answer for its controls while they are still being filled.
  OnShow();
  ShowWindow(Handle(), SW_SHOWNORMAL);
}

void Form::Close() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void Form::SetKeyboardTabs(TabControl* tabs) {
  keyboardTabs_ = tabs;
  const struct {
    UINT key;
    unsigned modifiers;
    int step;
  } keys[] = {
      {VK_TAB, kCtrl, 1},
      {VK_TAB, kCtrl | kShift, -1},
      {VK_NEXT, kCtrl, 1},
      {VK_PRIOR, kCtrl, -1},
  };
  for (const auto& key : keys) {
    AddShortcut({key.key, key.modifiers, [this, step = key.step] { return StepPage(step); }});
  }
}

bool Form::StepPage(int step) {
  if (!keyboardTabs_ || keyboardTabs_->PageCount() == 0) return false;
  const int count = keyboardTabs_->PageCount();
  keyboardTabs_->SetActiveIndex((keyboardTabs_->ActiveIndex() + step + count) % count);
  return true;
}

std::vector<HWND> Form::TabStops() const {
  std::vector<HWND> stops;
  CollectTabStops(Handle(), stops);
  return stops;
}

bool Form::MoveFocus(bool back) {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return false;
  // The stop that has the focus, or holds the window that has it (a list's header).
  HWND focus = GetFocus();
  auto at = stops.end();
  for (HWND w = focus; w && w != Handle() && at == stops.end(); w = GetParent(w)) {
    at = std::find(stops.begin(), stops.end(), w);
  }
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t index = at == stops.end() ? (back ? 0 : -1) : at - stops.begin();
  index = (index + (back ? count - 1 : 1)) % count;
  SetFocus(stops[static_cast<std::size_t>(index)]);
  return true;
}

bool Form::PreTranslateMessage(MSG& msg) {
  HWND hwnd = Handle();
  if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN) {
    if (HandleKey(msg)) return true;
  }
  return IsDialogMessageA(hwnd, &msg) != FALSE;
}

bool Form::HandleKey(const MSG& msg) {
  const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  const unsigned modifiers = ((GetKeyState(VK_CONTROL) & 0x8000) ? kCtrl : kNoModifier) |
                             ((GetKeyState(VK_SHIFT) & 0x8000) ? kShift : kNoModifier);
  // The Menu key (on its release, as Windows' own handling has it) and Shift+F10 ask the control
  // with the focus for its menu, whatever that control's own window procedure would do.
  if ((msg.message == WM_KEYUP && msg.wParam == VK_APPS) ||
      (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10 && modifiers == kShift && !alt)) {
    const HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus)) return false;
    // A held Shift+F10 asks once.
    if (msg.lParam & (1 << 30)) return true;
    SendMessageA(focus, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(focus), MAKELPARAM(-1, -1));
    return true;
  }
  if (msg.message != WM_KEYDOWN || alt) return false;
  // The keyboard moves the focus: focus cues show from now on, as in a dialog.
  if (msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN)) {
    SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  for (const Shortcut& shortcut : shortcuts_) {
    if (shortcut.key != msg.wParam || shortcut.modifiers != modifiers) continue;
    bool done = false;
    try {
      done = shortcut.action && shortcut.action();
    } catch (...) {
      Application::Instance().HandleException(std::current_exception());
      done = true;
    }
    if (done) return true;
  }
  return msg.wParam == VK_TAB && !(modifiers & kCtrl) && MoveFocus((modifiers & kShift) != 0);
}

void Form::KeepFocus(HWND before) {
  HWND hwnd = Handle();
  auto usable = [hwnd](HWND control) {
    return control && control != hwnd && IsChild(hwnd, control) && IsWindowVisible(control) &&
           IsWindowEnabled(control) && !Window::FromHandle(control);
  };
  const HWND now = GetFocus();
  if (usable(now) || (now && !IsChild(hwnd, now) && now != hwnd)) return;
  const std::vector<HWND> stops = TabStops();
  HWND target = usable(before) ? before : (stops.empty() ? nullptr : stops.front());
  if (!target) return;
  // An inactive window gets the control back when it is next activated.
  if (GetActiveWindow() == hwnd) {
    SetFocus(target);
  } else {
    lastFocus_ = target;
  }
}

void Form::RestoreFocus() {
  // Focusing a control also activates the form; with no control remembered, the first one that
  // takes the focus (or the form itself) gets it.
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsChild(Handle(), target) || !IsWindowVisible(target)) {
    const std::vector<HWND> stops = TabStops();
    target = stops.empty() ? Handle() : stops.front();
  }
  SetFocus(target);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (OnCloseQuery()) DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      OnDestroy();
      if (Application::Instance().MainForm() == this) PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam)) {
        RestoreFocus();
      }
      return 0;
    default:
      break;
  }
  return Container::HandleMessage(message, wParam, lParam);
}

}  // namespace orv
