// The Installed programs page: the uninstall entries of the registry, filtered and sorted.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::GetUninstallNames(HKEY /*root*/, const std::string& /*keyPath*/) {}

void TForm1::Page5Show() {}

void TForm1::Page5Label01Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/ferrowin/index.html");
}

}  // namespace orv
