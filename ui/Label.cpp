#include "ui/Label.h"

#include <uxtheme.h>

#include "base/Handles.h"

namespace orv {
namespace {

DWORD StaticStyle(const LabelStyle& style) {
  DWORD s = SS_NOTIFY | SS_NOPREFIX;
  switch (style.align) {
    case TextAlign::Left:
      s |= style.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
    case TextAlign::Center:
      s |= SS_CENTER;
      break;
    case TextAlign::Right:
      s |= SS_RIGHT;
      break;
  }
  // Centred and right-aligned statics wrap by themselves; a single line keeps the text on one
  // line (clipped at the edge, as a fixed-size label should) and centres it vertically.
  if (style.centerVertically || (!style.wordWrap && style.align != TextAlign::Left)) {
    s |= SS_CENTERIMAGE;
  }
  return s;
}

}  // namespace

bool Label::Create(HWND parent, int left, int top, int width, int height,
                   const std::string& caption, const LabelStyle& style) {
  style_ = style;
  if (!CreateChild("STATIC", 0, WS_VISIBLE | StaticStyle(style), caption, left, top, width, height,
                   parent)) {
    return false;
  }
  SetFont(SharedFont(style_.font));
  AdjustBounds();
  return true;
}

void Label::SetCaption(const std::string& caption) {
  SetWindowTextA(hwnd_, caption.c_str());
  AdjustBounds();
}

void Label::SetColor(COLORREF color) {
  style_.color = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Label::SetUnderline(bool underline) {
  if (style_.font.underline == underline) return;
  style_.font.underline = underline;
  SetFont(SharedFont(style_.font));
  AdjustBounds();
}

void Label::AdjustBounds() {
  if (!style_.autoSize || !hwnd_) return;
  // An empty label keeps the height of a line.
  const std::string caption = Text();
  const std::string text = caption.empty() ? std::string(1, ' ') : caption;
  WindowDc dc(hwnd_);
  SelectGuard font(dc.Get(), Font());
  RECT rc{0, 0, 0, 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
  if (style_.wordWrap) {
    rc.right = Width();
    format |= DT_WORDBREAK;
  } else {
    format |= DT_SINGLELINE;
  }
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, format);
  const RECT old = Bounds();
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  const int left = AutoSizedLeft(style_.align, old.left, old.right - old.left, width);
  if (left != old.left || width != old.right - old.left || height != old.bottom - old.top) {
    SetBounds(left, old.top, width, height);
  }
}

void Label::Click() {
  if (OnClick) OnClick(*this);
}

void Label::OnCommand(WORD code) {
  if (code == STN_CLICKED) Click();
}

HBRUSH Label::OnCtlColor(HDC dc) {
  // Transparent: the parent paints its own background (a themed tab page, the button face) under
  // the text, so a changed text never leaves the old one behind.
  DrawThemeParentBackground(hwnd_, dc, nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, style_.color == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : style_.color);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool Label::OnSetCursor() {
  if (style_.cursor != CursorKind::Hand) return false;
  ::SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

}  // namespace orv
