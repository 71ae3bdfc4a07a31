// The About page: static captions, and the links to the maker's web site and support address.
#include "app/Form1.h"
#include "app/Maker.h"

namespace orv {

void TForm1::Page6Label06Click(Label& /*sender*/) { OpenInShell(std::string(kMakerSite) + "/"); }

void TForm1::Page6Label08Click(Label& /*sender*/) {
  OpenInShell(std::string("mailto:") + kSupportMail + kSupportSubject);
}

}  // namespace orv
