// The General page: facts about the computer, one row each, gathered at every show.
#include <array>

#include "app/Form1.h"
#include "app/Maker.h"
#include "pages/GeneralText.h"

namespace orv {
namespace {

// The BIOS row may carry a long version text; beyond this width it is cut at the right so it
// does not run off the page.
constexpr int kBiosRowMaxWidth = 450;

}  // namespace

void TForm1::Page1Show() {
  RunPageFill(0, [this] {
    // Every row is gathered before any label changes: a query that throws leaves the page as
    // the previous show left it.
    const GeneralRows rows = GatherGeneralRows(Sources.general, Lookup());
    const std::array<Label*, kGeneralRowCount> labels = {
        &Page1Label01, &Page1Label02, &Page1Label03, &Page1Label04, &Page1Label05,
        &Page1Label06, &Page1Label07, &Page1Label08, &Page1Label09, &Page1Label10,
        &Page1Label11, &Page1Label12, &Page1Label13};
    for (std::size_t i = 0; i < labels.size(); ++i) labels[i]->SetCaption(rows[i]);
    if (Page1Label08.Width() > kBiosRowMaxWidth) Page1Label08.SetWidth(kBiosRowMaxWidth);
  });
}

void TForm1::Page1Label14Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/pellory/index.html");
}

}  // namespace orv
