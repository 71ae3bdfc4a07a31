// The Drives page: the drive list, and a fixed drive's size, used and free space with its chart.
#include <cstdint>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Maker.h"
#include "pages/DriveProbe.h"
#include "pages/DriveText.h"

namespace orv {
namespace {

// The figures and the chart of the drive a label stands for. Only a label that carries the
// clickable mark (a fixed drive) has figures; any other label, and any label that is not one of
// the nine drive slots, leaves the figures as they are.
void ShowDriveFigures(TForm1& form, Label& sender) {
  if (sender.Cursor() != CursorKind::Hand) return;
  const auto slots = form.DriveLabels();
  std::size_t slot = 0;
  while (slot < slots.size() && slots[slot] != &sender) ++slot;
  if (slot == slots.size()) return;

  const char letter = form.DriveLabelLetter[slot];
  std::int64_t size = -1;
  std::int64_t free = -1;
  form.Sources.driveSpace(letter, size, free);
  const DriveFigures figures = ComputeDriveFigures(size, free, form.Lookup());

  form.Page2Label11.SetCaption(figures.sizeText);
  form.Page2Label12.SetCaption(figures.usedText);
  form.Page2Label13.SetCaption(figures.freeText);
  form.DriveChart.SetTitle(sender.Caption());
  form.Series1.Clear();
  for (const ChartSlice& slice : figures.slices) {
    form.Series1.Add(slice.value, slice.label, static_cast<COLORREF>(slice.color));
  }
}

}  // namespace

void TForm1::Page2Show() {
  RunPageFill(1, [this] {
    const auto slots = DriveLabels();
    for (Label* slot : slots) slot->SetVisible(false);

    // The window stays responsive while drives are probed; what the user asks meanwhile waits
    // for the end of this fill.
    const std::vector<DriveRow> rows = ListDrives(
        Sources, [this] { PaceMessages(); }, Lookup());

    // A slot that this listing does not use keeps its text, letter and mark, hidden.
    for (const DriveRow& row : rows) {
      const auto index = static_cast<std::size_t>(row.slot - 1);
      Label& slot = *slots[index];
      slot.SetUnderline(row.fixed);
      slot.SetCursor(row.fixed ? CursorKind::Hand : CursorKind::Default);
      slot.SetCaption(row.text);
      DriveLabelLetter[index] = row.letter;
      slot.SetVisible(true);
    }

    // The first listed drive's figures, when it has any; otherwise the figures stay as they were.
    ShowDriveFigures(*this, Page2Label02);
  });
}

void TForm1::Page2LabelClick(Label& sender) {
  // Called from inside a page fill (its message pump or its queries), the click waits for the
  // fill and runs after it; called from outside any request, it runs as a request of its own. A
  // request under way (a user's click, Page2Show, a report) gets the figures at once.
  if (PageFillRunning() || !FillRunning()) {
    Label* label = &sender;
    RunRequest(ClickKey(sender), [this, label] { Page2LabelClick(*label); });
    return;
  }
  ShowDriveFigures(*this, sender);
}

void TForm1::Page2Label14Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/dravenna/index.html");
}

}  // namespace orv
