// "Save report": the text and HTML reports of every information page.
#include <string>
#include <vector>

#include "app/Form1.h"
#include "report/ReportFile.h"
#include "report/ReportLines.h"

namespace orv {

void TForm1::SaveAsTxt() { SaveReport(false); }

void TForm1::SaveAsHTML() { SaveReport(true); }

void TForm1::SaveReport(bool html) {
  // The report reads the pages through their show handlers, which must run inside this request
  // so that a failing fill ends the report and a tab change waits for it; called from anywhere
  // else it becomes a request of its own, as the menu makes it.
  if (PageFillRunning() || !FillRunning()) {
    RunRequest(html ? "SaveAsHTML" : "SaveAsTxt", [this, html] { SaveReport(html); });
    return;
  }
  if (!SaveDialog1.Execute(World(), Handle())) return;
  // The extension is added whatever was typed: "report.txt" is saved as "report.txt.txt".
  const std::string path = SaveDialog1.FileName + (html ? ".html" : ".txt");
  const ReportContent content = GatherReport();
  const std::vector<std::string> lines =
      html ? HtmlReportLines(content, GetACP()) : TextReportLines(content);
  WriteReportFile(path, JoinCrLf(lines));
  OpenInShell(path);
}

ReportContent TForm1::GatherReport() {
  ReportContent report;
  report.computerName = queries_.computerName();
  for (std::size_t i = 0; i < report.tabCaptions.size(); ++i) {
    report.tabCaptions[i] = Pages.PageCaption(static_cast<int>(i));
  }

  Page1Show();
  const Label* const general[] = {&Page1Label01, &Page1Label02, &Page1Label03, &Page1Label04,
                                  &Page1Label05, &Page1Label06, &Page1Label07, &Page1Label08,
                                  &Page1Label09, &Page1Label10, &Page1Label11, &Page1Label12,
                                  &Page1Label13};
  for (std::size_t i = 0; i < report.generalRows.size(); ++i) {
    report.generalRows[i] = general[i]->Caption();
  }

  // A hidden slot keeps the mark of an earlier listing; only the drives this show listed count.
  Page2Show();
  for (Label* slot : DriveLabels()) {
    if (!slot->Visible() || slot->Cursor() != CursorKind::Hand) continue;
    Page2LabelClick(*slot);
    report.driveLines.push_back(DriveLine(slot->Caption(), Page2Label11.Caption(),
                                          Page2Label12.Caption(), Page2Label13.Caption()));
  }

  Page3Show();
  const Label* const memory[] = {&Page3Label01, &Page3Label02, &Page3Label03, &Page3Label04};
  for (std::size_t i = 0; i < report.memoryRows.size(); ++i) {
    report.memoryRows[i] = memory[i]->Caption();
  }
  report.processLines = Page3List.Lines();

  Page4Show();
  for (int row = 0; row < Page4List.Count(); ++row) {
    report.startupRows.push_back({Page4List.ItemText(row, 2), Page4List.ItemText(row, 3)});
  }

  Page5Show();
  for (int row = 0; row < Page5List.Count(); ++row) {
    report.programRows.push_back({Page5List.ItemText(row, 0), Page5List.ItemText(row, 1)});
  }
  return report;
}

}  // namespace orv
