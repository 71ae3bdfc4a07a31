// The base of every window class of the program: one static window procedure that forwards each
// message to the C++ object's HandleMessage. No C++ exception unwinds through user32: one that
// escapes a handler is caught at that boundary and shown in the application's error box.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

// True when the window has nothing outside its client area to paint: no border, edge or scroll
// bar. Such a window's WM_NCPAINT is answered without the system's frame painting, which costs a
// device context per window all the same, and a window with many controls comes on screen faster.
bool HasNoFrame(HWND hwnd) noexcept;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const noexcept { return hwnd_; }

  // The object behind a window of one of the program's own classes, or nullptr.
  static Window* FromHandle(HWND hwnd) noexcept;

  // Destroys the window (and so its children) while the object is whole; derived classes whose
  // destroy handling matters call it from their own destructor.
  void Destroy() noexcept;

 protected:
  struct ClassSpec {
    const char* name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
  };

  // Registers the class on first use and creates the window with this object behind it.
  bool CreateOfClass(const ClassSpec& windowClass, DWORD exStyle, DWORD style,
                     const std::string& text, int x, int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace orv
