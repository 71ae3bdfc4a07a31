// The General page: facts about the computer, one row each, gathered at every show.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::Page1Show() {}

void TForm1::Page1Label14Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/pellory/index.html");
}

}  // namespace orv
