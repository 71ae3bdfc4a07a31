#include "ui/Memo.h"

#include "base/CodePage.h"

namespace orv {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool Memo::Create(HWND parent, int left, int top, int width, int height) {
  if (!CreateChild("EDIT", WS_EX_CLIENTEDGE,
                   WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
                       ES_AUTOVSCROLL | ES_NOHIDESEL,
                   "", left, top, width, height, parent)) {
    return false;
  }
  // The default limit of an edit box (32 KB) would cut a long process list.
  SendMessageA(hwnd_, EM_SETLIMITTEXT, 0, 0);
  return true;
}

std::vector<std::string> Memo::Lines() const { return SplitLines(Text()); }

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  SetWindowTextA(hwnd_, text.c_str());
}

void Memo::Clear() { SetWindowTextA(hwnd_, ""); }

void Memo::SelectAll() { SendMessageA(hwnd_, EM_SETSEL, 0, -1); }

std::string Memo::CopyText() const {
  // The selection is counted in characters; the window's text in characters is its wide form.
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= end) return Text();
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  wide.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd_, wide.data(), static_cast<int>(wide.size()))));
  if (end > wide.size()) return Text();
  return NarrowText(std::wstring_view(wide).substr(start, end - start));
}

HBRUSH Memo::OnCtlColor(HDC dc) {
  // Read-only, but a list to read: the window colour, not the grey of a disabled box.
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOW);
}

}  // namespace orv
