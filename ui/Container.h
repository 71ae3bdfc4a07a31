// A window of the program's own that holds child controls: it passes on to each control the
// notifications, colour requests and cursor questions that Windows sends to the parent, and
// paints the background that transparent children show.
#pragma once

#include "ui/Window.h"

namespace orv {

class Container : public Window {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Paints the client background into dc (also for children that draw it under themselves).
  virtual void PaintBackground(HDC dc, const RECT& client);
};

}  // namespace orv
