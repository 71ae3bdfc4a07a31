// The Memory page: physical memory, its load with a chart, the virtual address space and the
// running processes.
#include "app/Form1.h"
#include "app/Maker.h"
#include "pages/MemoryText.h"

namespace orv {

void TForm1::Page3Show() {
  RunPageFill(2, [this] {
    const LookupFn lookup = Lookup();
    const MemoryTexts texts = ComputeMemoryTexts(
        Sources.memoryLoad(), Sources.totalPhysicalMemory(), Sources.totalVirtualMemory(), lookup);
    Page3Label01.SetCaption(texts.sizeText);
    Page3Label02.SetCaption(texts.usageText);
    Page3Label03.SetCaption(texts.virtualText);

    MemoryChart.SetTitle(texts.chartTitle);
    PieSeries1.Clear();
    for (const ChartSlice& slice : texts.slices) {
      PieSeries1.Add(slice.value, slice.label, static_cast<COLORREF>(slice.color));
    }

    // Rebuilt, never grown: the list is emptied first. The window stays usable while the
    // processes are read; what the user asks meanwhile waits for the end of this fill. The lines
    // go in at once, so the box opens at the first process rather than scrolled to the last.
    Page3List.Clear();
    Page3List.SetLines(Sources.processPaths([this] { PaceMessages(); }));
    Page3Label04.SetCaption(ProcessCountText(Page3List.Lines().size(), lookup));
  });
}

void TForm1::Page3Label05Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/kestrova/index.html");
}

}  // namespace orv
