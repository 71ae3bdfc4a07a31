// The captions the main window takes from the language file when it is created: one table, read
// like a list of (section, key, English default, target), turned into final caption texts.
// Platform-neutral; the window code applies the texts to its controls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lang/LookupFn.h"

namespace orv {

enum class CaptionTarget {
  Page1Tab,
  Page1Label14,
  Page1Label15,
  Page2Tab,
  Page2Label01,
  Page2Label02,
  Page2Label14,
  Page2Label15,
  Page3Tab,
  Page3TopLabel,
  Page3Label05,
  Page3Label06,
  Page4Tab,
  Page4TopLabel,
  Page4ListColumn1,
  Page4ListColumn2,
  Page4ListColumn3,
  Page4Label01,
  Page4Label02,
  Page4Label03,
  Page4Label04,
  Page4Label05,
  Page5Tab,
  Page5TopLabel,
  Page5ListColumn0,
  Page5ListColumn1,
  Page5Label01,
  Page5Label02,
  Page6Tab,
  Page6Label02,
  Page6Label05,
  Page6Label07,
  HelpLabel,
  SaveLabel,
  SaveAsTXTItem,
  SaveAsHTMLItem,
  CopyItem,
  SelectAllItem
};

// A caption ready to set: compound captions are already put together ("Drive A: Removable",
// "Version: 2.2", "Internet:").
struct CaptionText {
  CaptionTarget target;
  std::string text;
};

// Looks up every creation-time text, one lookup per table row in the table's order, and returns one
// caption per target in that order. The lookup is given the English default of each row. With
// wanted, only the rows of the targets it accepts are looked up and returned (the controls made
// now, when the others are made later).
std::vector<CaptionText> CreationCaptions(
    const LookupFn& lookup, const std::function<bool(CaptionTarget)>& wanted = nullptr);

}  // namespace orv
