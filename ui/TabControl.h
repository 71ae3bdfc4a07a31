// A tab control (SysTabControl32) whose pages are windows of their own, laid over its display
// area. A page's window is made when the page is first shown (or asked for with MakePage), so
// that a window with many pages starts at the cost of the one on view. Right before a page is made
// visible, OnPageShowing is raised with its index, so that its content can be made late. Each time
// a page becomes visible on screen, OnPageShown is raised with its index: when the user picks its
// tab, when it is made the active page while the window is on screen, and as the window that holds
// the tab control is first shown with it active (right before the window comes on screen, so that
// the page is painted filled).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "ui/Container.h"
#include "ui/Control.h"
#include "ui/Theme.h"

namespace orv {

// One page: a container for that page's controls, with the themed tab-body background.
class TabPage : public Container {
 public:
  bool Create(HWND tabControl, const RECT& bounds);
  int Index() const noexcept { return index_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintBackground(HDC dc, const RECT& client) override;

 private:
  friend class TabControl;
  void OpenTheme();

  theme::UniqueTheme theme_;
  int index_ = -1;
};

class TabControl : public Control {
 public:
  bool Create(HWND parent, int left, int top, int width, int height);

  // Adds a tab with caption for page, whose window comes inside the tab control's display area:
  // made now for the active page, else when it is first shown.
  bool AddPage(TabPage& page, const std::string& caption);
  // Makes the page's window if it is not there yet; false when it cannot be made.
  bool MakePage(int index);
  int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
  TabPage& Page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }

  std::string PageCaption(int index) const;
  void SetPageCaption(int index, const std::string& caption);

  int ActiveIndex() const;
  // Makes index the active page; raises OnPageShown when it is on screen afterwards.
  void SetActiveIndex(int index);
  // The window holding the tab control comes on screen, or is there already: the active page is
  // shown.
  void RaiseShownForActive();

  std::function<void(int index)> OnPageShowing;
  std::function<void(int index)> OnPageShown;

  bool OnNotify(NMHDR* header, LRESULT& result) override;

 private:
  RECT PageBounds() const;
  // Moves every page to the display area when the tab rows have moved it.
  void PlacePages();
  void ShowOnly(int index);

  std::vector<TabPage*> pages_;
  RECT pageBounds_{};  // where every page is
};

}  // namespace orv
