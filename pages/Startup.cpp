// The Startup page: the programs Windows starts by itself, and the actions on a selected row.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::Page4Show() {}

void TForm1::Page4Label01Click(Label& /*sender*/) {}

void TForm1::Page4Label02Click(Label& /*sender*/) {}

void TForm1::Page4Label03Click(Label& /*sender*/) {}

void TForm1::Page4Label04Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/lumarel/index.html");
}

}  // namespace orv
