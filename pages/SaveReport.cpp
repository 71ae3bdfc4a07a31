// "Save report": the text and HTML reports of every information page.
#include "app/Form1.h"

namespace orv {

void TForm1::SaveAsTxt() {
  if (!SaveDialog1.Execute(World(), Handle())) return;
}

void TForm1::SaveAsHTML() {
  if (!SaveDialog1.Execute(World(), Handle())) return;
}

}  // namespace orv
