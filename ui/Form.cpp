#include "ui/Form.h"

#include <vector>

#include "ui/Application.h"
#include "ui/TabControl.h"

namespace orv {
namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
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
  ShowWindow(Handle(), SW_SHOWNORMAL);
  OnShow();
}

void Form::Close() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

bool Form::PreTranslateMessage(MSG& msg) {
  HWND hwnd = Handle();
  if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
      keyboardTabs_ && keyboardTabs_->PageCount() > 0) {
    const int count = keyboardTabs_->PageCount();
    const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1;
    keyboardTabs_->SelectByUser((keyboardTabs_->ActiveIndex() + step) % count);
    return true;
  }
  return IsDialogMessageA(hwnd, &msg) != FALSE;
}

void Form::RestoreFocus() {
  // Focusing a control also activates the form; with no control remembered, the first one that
  // takes the focus (or the form itself) gets it.
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsChild(Handle(), target)) {
    target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!target) target = Handle();
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
