// The visual-style calls of uxtheme.dll, which Windows would take from the program's own folder
// first: a copy planted beside a download would run inside the program. The library is loaded
// from the system folder when first needed; without it nothing is themed and the calls do
// nothing.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include "base/Handles.h"

namespace orv::theme {

bool IsAppThemed();
// The theme data of the window's class list, or null when not themed.
HTHEME Open(HWND hwnd, const wchar_t* classList);
void Close(HTHEME theme);
void DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect);
// The parent's background under the window's area, as a transparent control shows it.
void DrawParentBackground(HWND hwnd, HDC dc);

using UniqueTheme = UniqueHandle<HTHEME, &Close>;

}  // namespace orv::theme
