#include "ui/Window.h"

#include <exception>
#include <set>

#include "ui/Application.h"

namespace orv {

Window::~Window() { Destroy(); }

void Window::Destroy() noexcept {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  // Only windows whose procedure is ours carry the object pointer in their user data.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &Window::Thunk) {
    return nullptr;
  }
  return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Window::CreateOfClass(const ClassSpec& windowClass, DWORD exStyle, DWORD style,
                           const std::string& text, int x, int y, int width, int height,
                           HWND parent) {
  static std::set<std::string> registered;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered.count(windowClass.name)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = windowClass.style;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.smallIcon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(windowClass.name);
  }
  HWND hwnd = CreateWindowExA(exStyle, windowClass.name, text.c_str(), style, x, y, width, height,
                              parent, nullptr, instance, this);
  return hwnd != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

bool HasNoFrame(HWND hwnd) noexcept {
  RECT window{};
  RECT client{};
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return false;
  return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCPAINT && HasNoFrame(hwnd)) return 0;

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    Application::Instance().HandleException(std::current_exception());
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace orv
