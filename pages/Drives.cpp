// The Drives page: the drive list, and a fixed drive's size, used and free space with its chart.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::Page2Show() {}

void TForm1::Page2LabelClick(Label& /*sender*/) {}

void TForm1::Page2Label14Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/dravenna/index.html");
}

}  // namespace orv
