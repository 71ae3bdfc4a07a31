// The start of the program up to the creation of its window: the refusal of a non-NT system and
// the single-instance rule (one copy per logon; a second start asks the running copy to come to
// the front and ends).
#pragma once

#include "ui/Outside.h"

namespace orv {

enum class StartOutcome {
  Refused,    // not an NT-family system: the error box was shown
  Forwarded,  // another copy runs: it was asked to restore itself (when its window was found)
  First,      // this is the copy that runs; the mutex now marks it
};

StartOutcome ClaimSingleInstance(Outside& outside);

// Lets a second copy's restore request reach titleWindow, the running copy's title window, also
// from a copy of lower integrity (a standard copy beside an elevated one).
void AcceptRestoreRequests(HWND titleWindow);

}  // namespace orv
