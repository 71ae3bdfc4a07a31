#include "ui/Control.h"

#include <vector>

namespace orv {
namespace {
constexpr const char* kControlProperty = "OrvControl";
constexpr UINT_PTR kControlSubclass = 1;
}  // namespace

Control::~Control() { Detach(); }

void Control::Detach() noexcept {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &Control::WatchDestruction, kControlSubclass);
  RemovePropA(hwnd_, kControlProperty);
  hwnd_ = nullptr;
}

// The window may go before the object (with its parent): the object then forgets the handle, which
// Windows may soon give to another window.
LRESULT CALLBACK Control::WatchDestruction(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*id*/, DWORD_PTR self) {
  if (message == WM_NCDESTROY) reinterpret_cast<Control*>(self)->Detach();
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

Control* Control::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  return static_cast<Control*>(GetPropA(hwnd, kControlProperty));
}

bool Control::CreateChild(const char* className, DWORD exStyle, DWORD style,
                          const std::string& text, int x, int y, int width, int height,
                          HWND parent) {
  HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, x, y, width,
                              height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  Attach(hwnd);
  return true;
}

void Control::Attach(HWND hwnd) {
  Detach();
  hwnd_ = hwnd;
  SetPropA(hwnd_, kControlProperty, this);
  SetWindowSubclass(hwnd_, &Control::WatchDestruction, kControlSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
}

RECT Control::Bounds() const {
  RECT rc{};
  if (!hwnd_) return rc;
  GetWindowRect(hwnd_, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
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

void Control::SetFont(HFONT font) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT Control::Font() const {
  return reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
}

}  // namespace orv
