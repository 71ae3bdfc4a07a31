#include "ui/TabControl.h"

#include <vssym32.h>

namespace orv {

bool TabPage::Create(HWND tabControl, const RECT& bounds) {
  if (!CreateOfClass({"OrvTabPage", 0, nullptr, nullptr, nullptr}, WS_EX_CONTROLPARENT,
                     WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", bounds.left, bounds.top,
                     bounds.right - bounds.left, bounds.bottom - bounds.top, tabControl)) {
    return false;
  }
  OpenTheme();
  return true;
}

void TabPage::OpenTheme() {
  theme_.Reset(theme::IsAppThemed() ? theme::Open(Handle(), L"TAB") : nullptr);
}

LRESULT TabPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_THEMECHANGED) {
    OpenTheme();
    InvalidateRect(Handle(), nullptr, TRUE);
  } else if (message == WM_DESTROY) {
    theme_.Reset();
  }
  return Container::HandleMessage(message, wParam, lParam);
}

void TabPage::PaintBackground(HDC dc, const RECT& client) {
  if (theme_) {
    theme::DrawBackground(theme_.Get(), dc, TABP_BODY, 0, client);
  } else {
    Container::PaintBackground(dc, client);
  }
}

bool TabControl::Create(HWND parent, int left, int top, int width, int height) {
  return CreateChild(WC_TABCONTROLA, WS_EX_CONTROLPARENT,
                     WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", left, top,
                     width, height, parent);
}

RECT TabControl::PageBounds() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  TabCtrl_AdjustRect(hwnd_, FALSE, &rc);
  return rc;
}

bool TabControl::AddPage(TabPage& page, const std::string& caption) {
  std::string text = caption;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const int index = PageCount();
  if (SendMessageA(hwnd_, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item)) < 0) {
    return false;
  }
  page.index_ = index;
  pages_.push_back(&page);
  // The display area is known once the tab row exists; a new row of tabs moves the pages before.
  PlacePages();
  // The first page is the one on view; every other page's window waits until it is shown.
  if (index != ActiveIndex()) return true;
  if (!MakePage(index)) return false;
  ShowWindow(page.Handle(), SW_SHOWNA);
  return true;
}

bool TabControl::MakePage(int index) {
  if (index < 0 || index >= PageCount()) return false;
  TabPage& page = Page(index);
  return page.Handle() || page.Create(hwnd_, pageBounds_);
}

std::string TabControl::PageCaption(int index) const {
  char text[512] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  if (!SendMessageA(hwnd_, TCM_GETITEMA, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item))) {
    return std::string();
  }
  return std::string(item.pszText);
}

void TabControl::SetPageCaption(int index, const std::string& caption) {
  std::string text = caption;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageA(hwnd_, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  // Longer captions may need a second row of tabs, which moves the display area.
  PlacePages();
}

void TabControl::PlacePages() {
  const RECT bounds = PageBounds();
  if (EqualRect(&bounds, &pageBounds_)) return;
  pageBounds_ = bounds;
  for (TabPage* page : pages_) {
    if (!page->Handle()) continue;  // made later, in the place of that time
    SetWindowPos(page->Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int TabControl::ActiveIndex() const { return TabCtrl_GetCurSel(hwnd_); }

void TabControl::ShowOnly(int index) {
  if (MakePage(index) && OnPageShowing) OnPageShowing(index);
  for (TabPage* page : pages_) {
    if (page->Handle()) ShowWindow(page->Handle(), page->Index() == index ? SW_SHOWNA : SW_HIDE);
  }
}

void TabControl::SetActiveIndex(int index) {
  if (index < 0 || index >= PageCount()) return;
  TabCtrl_SetCurSel(hwnd_, index);
  ShowOnly(index);
  if (IsWindowVisible(Page(index).Handle()) && OnPageShown) OnPageShown(index);
}

void TabControl::RaiseShownForActive() {
  const int index = ActiveIndex();
  // The page's own flag: the window may be about to come on screen.
  if (index >= 0 && (GetWindowLongA(Page(index).Handle(), GWL_STYLE) & WS_VISIBLE) && OnPageShown) {
    OnPageShown(index);
  }
}

bool TabControl::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TCN_SELCHANGE) {
    const int index = ActiveIndex();
    ShowOnly(index);
    if (index >= 0 && OnPageShown) OnPageShown(index);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace orv
