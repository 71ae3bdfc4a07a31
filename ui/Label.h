// A text label: a STATIC child window that can size itself to its text in its own font (keeping
// its right edge when right-aligned), is drawn transparently over its parent's background, and
// can be coloured, bold or underlined, carry the hand cursor and raise a click event. A label with
// the hand cursor is a link: a tab stop that shows the focus rectangle (when Windows shows focus
// cues), is clicked by Enter or Space, and is announced as a link by screen readers.
#pragma once

#include <functional>
#include <string>

#include "ui/Control.h"
#include "ui/Fonts.h"
#include "ui/LabelGeometry.h"

namespace orv {

enum class CursorKind { Default, Hand };

struct LabelStyle {
  FontSpec font;
  COLORREF color = CLR_DEFAULT;  // CLR_DEFAULT: the system's window-text colour
  TextAlign align = TextAlign::Left;
  bool autoSize = true;
  bool wordWrap = false;
  bool centerVertically = false;
  CursorKind cursor = CursorKind::Default;
};

class Label : public Control {
 public:
  bool Create(HWND parent, int left, int top, int width, int height, const std::string& caption,
              const LabelStyle& style);

  std::string Caption() const { return Text(); }
  // Sets the text; an auto-sized label then fits itself to it.
  void SetCaption(const std::string& caption);

  const LabelStyle& Style() const noexcept { return style_; }
  void SetUnderline(bool underline);
  bool Underlined() const noexcept { return style_.font.underline; }
  // The hand cursor makes the label a link, the default one plain text again.
  void SetCursor(CursorKind cursor);
  CursorKind Cursor() const noexcept { return style_.cursor; }
  bool IsLink() const noexcept { return style_.cursor == CursorKind::Hand; }

  // Fits an auto-sized label to its text: width and height of the text in the label's font; a
  // right-aligned label keeps its right edge.
  void AdjustBounds();

  // Raised by a click on the label (and by Click()).
  std::function<void(Label& sender)> OnClick;
  void Click();

  void OnCommand(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  bool OnSetCursor() override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The dotted rectangle around the text of a link that has the focus.
  void DrawFocusCue() const;
  // Where an auto-sized label with bounds would go to fit caption, measured on device's DC.
  RECT FittedBounds(HWND device, const std::string& caption, const RECT& bounds) const;
  // Fits an auto-sized label to caption, the text it shows.
  void Fit(const std::string& caption);

  LabelStyle style_;
  bool announcedAsLink_ = false;  // the accessibility role "link" is set on the window
  WPARAM armedKey_ = 0;           // Enter or Space pressed on the link and not yet released
};

}  // namespace orv
