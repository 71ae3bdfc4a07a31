#include "ui/Label.h"

#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "base/Handles.h"
#include "ui/Theme.h"

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

// The rightmost column and lowest row that text drawn in rc with format inks on a bitmap of dc's
// device, plus one: what the drawing needs, which can exceed what the measurement gave (Wine's X11
// driver measures glyphs hinted for grey but draws small text unsmoothed, with wider glyphs).
SIZE InkedSize(HDC dc, HFONT font, const std::string& text, RECT rc, UINT format) {
  // Room for glyphs that go beyond their measured place.
  const int width = rc.right + rc.bottom + 8;
  const int height = rc.bottom * 2 + 8;
  const UniqueMemoryDc paper(CreateCompatibleDC(dc));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!paper.Valid() || !bitmap.Valid()) return SIZE{0, 0};
  const SelectGuard onPaper(paper.Get(), bitmap.Get());
  const SelectGuard inFont(paper.Get(), font);
  RECT all{0, 0, width, height};
  FillRect(paper.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(paper.Get(), RGB(0, 0, 0));
  SetBkMode(paper.Get(), TRANSPARENT);
  DrawTextA(paper.Get(), text.c_str(), static_cast<int>(text.size()), &rc, format | DT_NOCLIP);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (GetDIBits(paper.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(), &info,
                DIB_RGB_COLORS) != height) {
    return SIZE{0, 0};
  }
  SIZE inked{0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)] &
           0xFFFFFF) != 0xFFFFFF) {
        inked.cx = std::max<LONG>(inked.cx, x + 1);
        inked.cy = std::max<LONG>(inked.cy, y + 1);
      }
    }
  }
  return inked;
}

// The size text takes in font as the STATIC control draws it on the device of window (the label,
// or its parent before the label exists): on one line, or wrapped at width; at least as large as
// what the drawing inks. An empty text takes the height of a line.
SIZE TextSize(HWND window, const std::string& caption, HFONT font, bool wordWrap, int width) {
  const std::string text = caption.empty() ? std::string(1, ' ') : caption;
  const WindowDc dc(window);
  const SelectGuard select(dc.Get(), font);
  RECT rc{0, 0, 0, 0};
  UINT format = DT_NOPREFIX | DT_EXPANDTABS;
  if (wordWrap) {
    rc.right = width;
    format |= DT_WORDBREAK;
  } else {
    format |= DT_SINGLELINE;
  }
  DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc, format | DT_CALCRECT);
  const SIZE inked = InkedSize(dc.Get(), font, text, rc, format);
  return SIZE{std::max<LONG>(rc.right - rc.left, inked.cx),
              std::max<LONG>(rc.bottom - rc.top, inked.cy)};
}

// Windows' accessibility annotation service (oleacc), declared here so that the program does not
// import oleacc.dll: COM loads it from the system folder when it is first asked for.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID kRoleProperty = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

// Sets (link) or clears the role that screen readers announce for window; false when the service
// is not there.
bool AnnotateRole(HWND window, bool link) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                              reinterpret_cast<void**>(&services))) ||
      !services) {
    return false;
  }
  HRESULT result = S_OK;
  if (link) {
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = ROLE_SYSTEM_LINK;
    result = services->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                   kRoleProperty, role);
  } else {
    result = services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      &kRoleProperty, 1);
  }
  services->Release();
  return SUCCEEDED(result);
}

}  // namespace

bool Label::Create(HWND parent, int left, int top, int width, int height,
                   const std::string& caption, const LabelStyle& style) {
  style_ = style;
  // An auto-sized label is made at the size of its text rather than resized once made.
  RECT bounds{left, top, left + width, top + height};
  if (style_.autoSize) bounds = FittedBounds(parent, caption.c_str(), bounds);
  const DWORD tabStop = style.cursor == CursorKind::Hand ? WS_TABSTOP : 0;
  if (!CreateChild("STATIC", 0, WS_VISIBLE | tabStop | StaticStyle(style), caption, bounds.left,
                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent)) {
    return false;
  }
  // A text STATIC keeps the place and size it was made with.
  KnowBounds(bounds);
  // Nothing of the new window has been drawn yet, so nothing needs drawing again.
  SetFont(SharedFont(style_.font), false);
  return true;
}

void Label::SetCaption(const std::string& caption) {
  // The window keeps the text up to the first nul, as does this.
  const std::string text = caption.c_str();
  // The same text again changes nothing; asking the window is cheaper than setting it.
  if (text == Text()) return;
  SetWindowTextA(hwnd_, text.c_str());
  Fit(text);
}

void Label::SetUnderline(bool underline) {
  if (style_.font.underline == underline) return;
  style_.font.underline = underline;
  SetFont(SharedFont(style_.font));
  AdjustBounds();
}

void Label::AdjustBounds() { Fit(Text()); }

RECT Label::FittedBounds(HWND device, const std::string& caption, const RECT& bounds) const {
  const int width = bounds.right - bounds.left;
  const SIZE text = TextSize(device, caption, SharedFont(style_.font), style_.wordWrap, width);
  const int left = AutoSizedLeft(style_.align, bounds.left, width, text.cx);
  return RECT{left, bounds.top, left + text.cx, bounds.top + text.cy};
}

void Label::Fit(const std::string& caption) {
  if (!style_.autoSize || !hwnd_) return;
  const RECT old = Bounds();
  const RECT fitted = FittedBounds(hwnd_, caption, old);
  if (!EqualRect(&fitted, &old)) {
    SetBounds(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
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
  theme::DrawParentBackground(hwnd_, dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, style_.color == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : style_.color);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void Label::SetCursor(CursorKind cursor) {
  style_.cursor = cursor;
  if (!hwnd_) return;
  const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  const LONG_PTR wanted = IsLink() ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP});
  if (wanted != style) SetWindowLongPtrA(hwnd_, GWL_STYLE, wanted);
  if (announcedAsLink_ && !IsLink()) announcedAsLink_ = !AnnotateRole(hwnd_, false);
}

bool Label::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DESTROY && announcedAsLink_) announcedAsLink_ = !AnnotateRole(hwnd_, false);
  if (!IsLink()) return Control::OnMessage(message, wParam, lParam, result);
  const bool clickKey = wParam == VK_RETURN || wParam == VK_SPACE;
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and Space come to the link rather than to the dialog navigation.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      result = CallPrevious(message, wParam, lParam);
      if (msg && msg->message == WM_KEYDOWN &&
          (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE)) {
        result |= DLGC_WANTMESSAGE;
      }
      return true;
    }
    case WM_KEYDOWN:
      if (!clickKey) break;
      // As a push button does: the press arms the link and its release clicks it, so that the
      // character the press makes is taken before a menu or box the click opens runs a loop of its
      // own, which would take that character as its answer. A held key clicks once, on release.
      if (!(lParam & (1 << 30))) armedKey_ = wParam;
      result = 0;
      return true;
    case WM_KEYUP:
      if (!clickKey || wParam != armedKey_) break;
      armedKey_ = 0;
      Click();
      result = 0;
      return true;
    case WM_KILLFOCUS:
      armedKey_ = 0;
      [[fallthrough]];
    case WM_SETFOCUS:
    case WM_UPDATEUISTATE:
      result = CallPrevious(message, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return true;
    case WM_PAINT:
      result = CallPrevious(message, wParam, lParam);
      if (GetFocus() == hwnd_) DrawFocusCue();
      return true;
    case WM_GETOBJECT:
      // A screen reader is asking: from now on the label is announced as a link, not as text.
      // Asked only then, so that a session without one never loads the service.
      if (!announcedAsLink_) announcedAsLink_ = AnnotateRole(hwnd_, true);
      break;
    default:
      break;
  }
  return Control::OnMessage(message, wParam, lParam, result);
}

void Label::DrawFocusCue() const {
  if (SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  // Around the text where it lies in the label, one pixel out where the label has room.
  const SIZE text = TextSize(hwnd_, Text(), Font(), style_.wordWrap, client.right);
  const int width = text.cx < client.right ? text.cx : client.right;
  const int height = text.cy < client.bottom ? text.cy : client.bottom;
  int left = 0;
  if (style_.align == TextAlign::Right) left = client.right - width;
  if (style_.align == TextAlign::Center) left = (client.right - width) / 2;
  const int top = (StaticStyle(style_) & SS_CENTERIMAGE) ? (client.bottom - height) / 2 : 0;
  RECT cue{left - 1, top - 1, left + width + 1, top + height + 1};
  IntersectRect(&cue, &cue, &client);
  const WindowDc dc(hwnd_);
  if (dc.Get()) DrawFocusRect(dc.Get(), &cue);
}

bool Label::OnSetCursor() {
  if (style_.cursor != CursorKind::Hand) return false;
  ::SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

}  // namespace orv
