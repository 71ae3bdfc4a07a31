#include "ui/Container.h"

#include "ui/Control.h"

namespace orv {

void Container::PaintBackground(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Container::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        control->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (Control* control = Control::FromHandle(header->hwndFrom)) {
        LRESULT result = 0;
        if (control->OnNotify(header, result)) return result;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_SETCURSOR:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(wParam))) {
        if (LOWORD(lParam) == HTCLIENT && control->OnSetCursor()) return TRUE;
      }
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(Handle(), &client);
      PaintBackground(reinterpret_cast<HDC>(wParam), client);
      return message == WM_ERASEBKGND ? 1 : 0;
    }
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

}  // namespace orv
