// The keyboard as a person uses it, and the clipboard read back. The key typist types keys as
// hardware input (SendInput), so they take the path a real key press takes: the input queue of
// the foreground window, TranslateMessage with the characters it makes, and the dialog manager.
// The clipboard is the real one, read in either format.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"

namespace orv::test {

// Types key with the modifiers held: the modifiers down, the key down (held times, the later
// ones auto-repeats), the key up, the modifiers up. Nothing is taken from the queue: a running
// loop (a menu's, a box's) takes the keys as they come.
inline void Type(UINT key, unsigned modifiers = kNoModifier, int held = 1) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](UINT vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (modifiers & kCtrl) add(VK_CONTROL, false);
  if (modifiers & kShift) add(VK_SHIFT, false);
  for (int i = 0; i < held; ++i) add(key, false);
  add(key, true);
  if (modifiers & kShift) add(VK_SHIFT, true);
  if (modifiers & kCtrl) add(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Lets the application's loop take every message until the input has been handled and the queue
// stayed empty for a moment (hardware input reaches the queue through the window server).
inline void TakeInput() {
  for (int quiet = 0; quiet < 5;) {
    Application::Instance().ProcessMessages();
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) {
      quiet = 0;
    } else {
      ++quiet;
      Sleep(10);
    }
  }
}

// One key press, taken through the application's loop to the end.
inline void Press(UINT key, unsigned modifiers = kNoModifier, int held = 1) {
  Type(key, modifiers, held);
  TakeInput();
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
