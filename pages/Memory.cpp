// The Memory page: physical memory, its load with a chart, the virtual address space and the
// running processes.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::Page3Show() {}

void TForm1::Page3Label05Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/kestrova/index.html");
}

}  // namespace orv
