// The keyboard as a window test drives it, and the clipboard read back: a key press is its key
// down and up posted to the window with the focus, with the modifiers held in the thread's key
// state (posted messages do not change it); the clipboard is the real one, read in either format.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Application.h"
#include "ui/Form.h"

namespace orv::test {

inline void HoldModifiers(unsigned modifiers) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  const struct {
    int key;
    bool down;
  } keys[] = {{VK_CONTROL, (modifiers & kCtrl) != 0},
              {VK_LCONTROL, (modifiers & kCtrl) != 0},
              {VK_SHIFT, (modifiers & kShift) != 0},
              {VK_LSHIFT, (modifiers & kShift) != 0},
              {VK_MENU, false},
              {VK_LMENU, false}};
  for (const auto& k : keys) state[k.key] = k.down ? 0x80 : 0;
  SetKeyboardState(state);
}

// Posts the key to the focused window, nothing more: it arrives when messages are let through.
inline void PostKey(UINT key, unsigned modifiers = kNoModifier) {
  HoldModifiers(modifiers);
  HWND target = GetFocus();
  if (!target) target = GetActiveWindow();
  const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16);
  PostMessageA(target, WM_KEYDOWN, key, down);
  PostMessageA(target, WM_KEYUP, key, down | 0xC0000000);
}

// One key press, taken through the application's loop to the end.
inline void Press(UINT key, unsigned modifiers = kNoModifier) {
  PostKey(key, modifiers);
  Application::Instance().ProcessMessages();
  HoldModifiers(kNoModifier);
}

// The clipboard's text in the format asked for (CF_TEXT, or CF_UNICODETEXT given back as the
// code units of its ASCII characters, "?" for the others).
inline std::string ClipboardText(UINT format = CF_TEXT) {
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  std::string text = "(no text)";
  const HANDLE data = GetClipboardData(format);
  if (const void* locked = data ? GlobalLock(data) : nullptr) {
    if (format == CF_UNICODETEXT) {
      text.clear();
      for (const wchar_t* c = static_cast<const wchar_t*>(locked); *c; ++c) {
        text += *c < 128 ? static_cast<char>(*c) : '?';
      }
    } else {
      text = static_cast<const char*>(locked);
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

}  // namespace orv::test
