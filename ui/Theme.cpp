#include "ui/Theme.h"

#include "base/SystemLibrary.h"

namespace orv::theme {
namespace {

struct UxTheme {
  BOOL(WINAPI* isAppThemed)() = nullptr;
  HTHEME(WINAPI* open)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* close)(HTHEME) = nullptr;
  HRESULT(WINAPI* drawBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* drawParentBackground)(HWND, HDC, const RECT*) = nullptr;

  UxTheme() {
    const HMODULE library = LoadSystemLibrary("uxtheme.dll");
    if (!library) return;
    Find(library, isAppThemed, "IsAppThemed");
    Find(library, open, "OpenThemeData");
    Find(library, close, "CloseThemeData");
    Find(library, drawBackground, "DrawThemeBackground");
    Find(library, drawParentBackground, "DrawThemeParentBackground");
  }

  template <typename Fn>
  static void Find(HMODULE library, Fn& fn, const char* name) {
    fn = SystemFunction<Fn>(library, name);
  }
};

const UxTheme& Library() {
  static const UxTheme library;
  return library;
}

}  // namespace

bool IsAppThemed() { return Library().isAppThemed && Library().isAppThemed(); }

HTHEME Open(HWND hwnd, const wchar_t* classList) {
  return Library().open ? Library().open(hwnd, classList) : nullptr;
}

void Close(HTHEME theme) {
  if (theme && Library().close) Library().close(theme);
}

void DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) {
  if (Library().drawBackground) Library().drawBackground(theme, dc, part, state, &rect, nullptr);
}

void DrawParentBackground(HWND hwnd, HDC dc) {
  if (Library().drawParentBackground) Library().drawParentBackground(hwnd, dc, nullptr);
}

}  // namespace orv::theme
