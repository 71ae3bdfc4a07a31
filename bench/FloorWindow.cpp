// The start-up floors: one window with thirteen STATIC rows, shown at once. With --full it first
// starts what a program of this kind must start (common controls, COM with a shell-link object,
// GDI+), so the gap to the real program is its own work.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <gdiplus.h>

#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  const bool full = std::strstr(commandLine, "--full") != nullptr;
  ULONG_PTR gdiplusToken = 0;
  IShellLinkA* link = nullptr;
  if (full) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(&link));
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
  }

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "OrvBenchFloor";
  RegisterClassExA(&wc);
  HWND window =
      CreateWindowExA(0, wc.lpszClassName, "Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      CW_USEDEFAULT, CW_USEDEFAULT, 500, 420, nullptr, nullptr, instance, nullptr);
  for (int row = 1; row <= 13; ++row) {
    char text[32];
    std::snprintf(text, sizeof(text), "Row %02d: value", row);
    CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, 32, 16 + 24 * row, 400, 14, window,
                    nullptr, instance, nullptr);
  }
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (full) {
    Gdiplus::GdiplusShutdown(gdiplusToken);
    if (link) link->Release();
    CoUninitialize();
  }
  return 0;
}
