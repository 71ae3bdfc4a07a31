// The application object: the hidden top-level title window that carries the taskbar button and
// owns the main form, the message loop with its application-wide message hook, processing of
// pending messages on request, and the error box for exceptions that escape event handlers.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Outside.h"
#include "ui/Window.h"

namespace orv {

class Form;

// The application-wide hook: OnMessage sees every message that the user-interface thread's loop
// (or ProcessMessages) takes from the queue, before it is dispatched; setting handled stops the
// dispatch. Active while the object lives.
class ApplicationEvents {
 public:
  ApplicationEvents();
  ~ApplicationEvents();
  ApplicationEvents(const ApplicationEvents&) = delete;
  ApplicationEvents& operator=(const ApplicationEvents&) = delete;

  std::function<void(MSG& msg, bool& handled)> OnMessage;
};

class Application {
 public:
  static Application& Instance();

  // Creates the title window: a top-level window with the application title as its text, no size
  // and no frame drawn, which carries the taskbar button and owns the main form.
  bool Initialize(const std::string& title, HICON icon = nullptr, HICON smallIcon = nullptr);
  HWND Handle() const noexcept;

  // The form whose destruction ends the message loop and that the title window stands for.
  void SetMainForm(Form* form) noexcept { mainForm_ = form; }
  Form* MainForm() const noexcept { return mainForm_; }

  // Runs the message loop until WM_QUIT; returns its exit code.
  int Run();
  // Takes and dispatches every message waiting now, then returns. A WM_QUIT met here is put back
  // so the main loop ends too.
  void ProcessMessages();
  // ProcessMessages, unless the last pump was less than a millisecond ago: for loops that would
  // otherwise pump once per item. A pump that finds nothing still costs a round trip to the
  // window system under Wine, more than a registry value; a millisecond keeps the window
  // answering at once.
  void PaceMessages();
  bool Terminated() const noexcept { return terminated_; }

  // Shows the error box for an exception that escaped an event handler: its text with a full stop
  // appended by the rule of ErrorBoxText, the application title as caption, the error icon.
  void HandleException(std::exception_ptr error);

  // Where message boxes and the shell go; the real world unless a form says otherwise.
  void SetOutside(Outside* outside) noexcept { outside_ = outside; }
  Outside& GetOutside() const noexcept { return outside_ ? *outside_ : RealOutside(); }

  // The second copy's request: restore the title window if it is minimised (and with it the
  // main form), then bring its last active pop-up to the foreground.
  void Restore();
  void BringToFront();

 private:
  friend class ApplicationEvents;
  Application();
  ~Application();
  void Dispatch(MSG& msg);

  class TitleWindow;
  std::unique_ptr<TitleWindow> titleWindow_;
  std::string title_;
  Form* mainForm_ = nullptr;
  Outside* outside_ = nullptr;
  bool terminated_ = false;
  LONGLONG lastPump_ = 0;      // performance-counter ticks
  LONGLONG ticksPerPace_ = 1;  // a millisecond of them
  std::vector<ApplicationEvents*> hooks_;
};

}  // namespace orv
