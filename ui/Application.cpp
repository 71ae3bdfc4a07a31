#include "ui/Application.h"

#include <algorithm>

#include "ui/ErrorText.h"
#include "ui/Form.h"

namespace orv {

// The title window: top-level, never drawn (no size), not a tool window, so the taskbar shows a
// button for it with the application title, and everything the taskbar asks of it (close,
// activate) goes on to the main form.
class Application::TitleWindow final : public Window {
 public:
  bool Create(const std::string& title, HICON icon, HICON smallIcon) {
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    return CreateOfClass({"OrvendelApplication", 0, nullptr, icon, smallIcon}, 0,
                         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                         title, x, y, 0, 0, nullptr);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Form* form = Application::Instance().MainForm();
    switch (message) {
      case WM_CLOSE:
        if (form && form->Handle()) {
          PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
          return 0;
        }
        break;
      case WM_ACTIVATE:
        // Activated from the taskbar: hand the activation on to the form.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
          // The title window becoming active makes itself its last active pop-up, so the form
          // is the fallback.
          HWND popup = GetLastActivePopup(Handle());
          if ((!popup || popup == Handle()) && form) popup = form->Handle();
          if (popup && popup != Handle() && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
            SetActiveWindow(popup);
            return 0;
          }
        }
        break;
      default:
        break;
    }
    return Default(message, wParam, lParam);
  }
};

ApplicationEvents::ApplicationEvents() { Application::Instance().hooks_.push_back(this); }

ApplicationEvents::~ApplicationEvents() {
  auto& hooks = Application::Instance().hooks_;
  hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
}

Application::Application() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  ticksPerPace_ = frequency.QuadPart / 1000 > 0 ? frequency.QuadPart / 1000 : 1;
}
Application::~Application() = default;

Application& Application::Instance() {
  static Application application;
  return application;
}

bool Application::Initialize(const std::string& title, HICON icon, HICON smallIcon) {
  title_ = title;
  if (titleWindow_) {
    SetWindowTextA(titleWindow_->Handle(), title.c_str());
    return true;
  }
  auto window = std::make_unique<TitleWindow>();
  if (!window->Create(title, icon, smallIcon)) return false;
  titleWindow_ = std::move(window);
  // Shown, though it has no size: a visible top-level window is what the taskbar lists.
  ShowWindow(titleWindow_->Handle(), SW_SHOWNOACTIVATE);
  return true;
}

HWND Application::Handle() const noexcept {
  return titleWindow_ ? titleWindow_->Handle() : nullptr;
}

void Application::Dispatch(MSG& msg) {
  bool handled = false;
  try {
    // A copy of the list: a hook may end its own life.
    const std::vector<ApplicationEvents*> hooks = hooks_;
    for (ApplicationEvents* hook : hooks) {
      if (hook->OnMessage) hook->OnMessage(msg, handled);
    }
  } catch (...) {
    HandleException(std::current_exception());
  }
  if (handled) return;
  if (mainForm_ && mainForm_->PreTranslateMessage(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int Application::Run() {
  MSG msg{};
  while (!terminated_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      terminated_ = true;
      break;
    }
    Dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

void Application::ProcessMessages() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  lastPump_ = now.QuadPart;
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

void Application::PaceMessages() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  if (now.QuadPart - lastPump_ >= ticksPerPace_) ProcessMessages();
}

void Application::HandleException(std::exception_ptr error) {
  std::string text = "An unexpected error occurred";
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_) owner = mainForm_->Handle();
  const std::string caption = title_.empty() ? std::string("Orvendel") : title_;
  GetOutside().ShowMessage(owner, ErrorBoxText(text), caption, MB_OK | MB_ICONERROR);
}

void Application::Restore() {
  HWND title = Handle();
  if (!title || !IsIconic(title)) return;
  SetActiveWindow(title);
  ShowWindow(title, SW_RESTORE);
  SetWindowPos(title, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
               0, 0, SWP_NOZORDER | SWP_SHOWWINDOW);
  if (mainForm_ && mainForm_->Handle()) {
    HWND form = mainForm_->Handle();
    if (IsIconic(form) || !IsWindowVisible(form)) ShowWindow(form, SW_SHOWNORMAL);
    mainForm_->RestoreFocus();
  }
}

void Application::BringToFront() {
  HWND title = Handle();
  if (!title) return;
  HWND popup = GetLastActivePopup(title);
  if (popup && popup != title && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
    SetForegroundWindow(popup);
  }
}

}  // namespace orv
