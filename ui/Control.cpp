#include "ui/Control.h"

#include <windowsx.h>

#include <unordered_map>
#include <vector>

#include "ui/Application.h"

namespace orv {
namespace {

// Every child window tied to a control object, with the window procedure it had before. A map of
// our own rather than a window property or SetWindowSubclass: both ask the window system on every
// message, which made each list-view row cost a dozen round trips under Wine. Controls live on the
// one thread that runs the windows.
struct Tie {
  Control* control;  // nullptr once the object went while another subclass sat above ours
  WNDPROC previous;
};

std::unordered_map<HWND, Tie>& Ties() {
  static std::unordered_map<HWND, Tie> ties;
  return ties;
}

WNDPROC CurrentProc(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

}  // namespace

Control::~Control() { Detach(); }

void Control::Detach() noexcept {
  bounds_.reset();
  if (!hwnd_) return;
  auto& ties = Ties();
  const auto tie = ties.find(hwnd_);
  if (tie != ties.end()) {
    if (CurrentProc(hwnd_) == &Control::WatchDestruction) {
      SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tie->second.previous));
      ties.erase(tie);
    } else {
      // Unhooking under a later subclass would cut it off; ours stays and only passes messages on.
      tie->second.control = nullptr;
    }
  }
  hwnd_ = nullptr;
}

// The window may go before the object (with its parent): the object then forgets the handle, which
// Windows may soon give to another window.
LRESULT CALLBACK Control::WatchDestruction(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& ties = Ties();
  const auto tie = ties.find(hwnd);
  if (tie == ties.end()) return DefWindowProcA(hwnd, message, wParam, lParam);
  const WNDPROC previous = tie->second.previous;
  if (message == WM_NCPAINT && HasNoFrame(hwnd)) return 0;
  if (message == WM_WINDOWPOSCHANGED && tie->second.control) {
    tie->second.control->Moved(*reinterpret_cast<const WINDOWPOS*>(lParam));
  }
  if (message != WM_NCDESTROY && tie->second.control) {
    // No C++ exception unwinds through user32: one that escapes a handler goes to the error box.
    try {
      LRESULT result = 0;
      if (tie->second.control->OnMessage(message, wParam, lParam, result)) return result;
    } catch (...) {
      Application::Instance().HandleException(std::current_exception());
      return 0;
    }
  }
  if (message == WM_NCDESTROY) {
    if (tie->second.control) tie->second.control->hwnd_ = nullptr;
    ties.erase(tie);
    if (CurrentProc(hwnd) == &Control::WatchDestruction) {
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
  }
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

bool Control::OnMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam, LRESULT& result) {
  if (message != WM_CONTEXTMENU || !OnContextMenu) return false;
  // A point of (-1, -1) is the keyboard's request.
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (at.x == -1 && at.y == -1) at = KeyboardMenuPoint();
  OnContextMenu(*this, at);
  result = 0;
  return true;
}

LRESULT Control::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) const {
  const auto& ties = Ties();
  const auto tie = ties.find(hwnd_);
  if (tie == ties.end()) return DefWindowProcA(hwnd_, message, wParam, lParam);
  return CallWindowProcA(tie->second.previous, hwnd_, message, wParam, lParam);
}

POINT Control::KeyboardMenuPoint() const {
  POINT at{4, 4};
  ClientToScreen(hwnd_, &at);
  return at;
}

Control* Control::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  const auto& ties = Ties();
  const auto tie = ties.find(hwnd);
  return tie == ties.end() ? nullptr : tie->second.control;
}

bool Control::CreateChild(const char* className, DWORD exStyle, DWORD style,
                          const std::string& text, int x, int y, int width, int height,
                          HWND parent) {
  HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, x, y, width,
                              height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  if (Attach(hwnd)) return true;
  DestroyWindow(hwnd);
  return false;
}

bool Control::Attach(HWND hwnd) {
  Detach();
  const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::WatchDestruction)));
  if (!previous) return false;
  hwnd_ = hwnd;
  Ties()[hwnd] = Tie{this, previous};
  return true;
}

RECT Control::Bounds() const {
  RECT rc{};
  if (!hwnd_) return rc;
  if (bounds_) return *bounds_;
  GetWindowRect(hwnd_, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
  bounds_ = rc;
  return rc;
}

void Control::Moved(const WINDOWPOS& position) noexcept {
  if (!bounds_) return;
  // A child window's position is given in its parent's client area, as Bounds gives it.
  RECT& rc = *bounds_;
  if (!(position.flags & SWP_NOMOVE)) OffsetRect(&rc, position.x - rc.left, position.y - rc.top);
  if (!(position.flags & SWP_NOSIZE)) {
    rc.right = rc.left + position.cx;
    rc.bottom = rc.top + position.cy;
  }
}

int Control::Width() const {
  const RECT rc = Bounds();
  return rc.right - rc.left;
}

int Control::Height() const {
  const RECT rc = Bounds();
  return rc.bottom - rc.top;
}

void Control::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetLeft(int left) {
  SetWindowPos(hwnd_, nullptr, left, Top(), 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void Control::SetWidth(int width) {
  SetWindowPos(hwnd_, nullptr, 0, 0, width, Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

bool Control::Visible() const {
  return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

std::string Control::Text() const {
  const int length = GetWindowTextLengthA(hwnd_);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd_, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void Control::SetFont(HFONT font, bool redraw) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HFONT Control::Font() const {
  return reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
}

}  // namespace orv
