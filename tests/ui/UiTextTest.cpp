#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/CopyText.h"
#include "ui/ErrorText.h"
#include "ui/FillQueue.h"
#include "ui/LabelGeometry.h"

namespace orv {
namespace {

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  for (const std::string text :
       {"Stream write error", "Error 5", "Cannot create file \"C:\\x.txt\"/"}) {
    EXPECT_EQ(ErrorBoxText(text), text + ".");
  }
  // Characters that sort before or at the full stop keep the text as it is.
  for (const std::string text : {"Done.", "Really!", "(see above)", "a-", "ends in a blank ", ""}) {
    EXPECT_EQ(ErrorBoxText(text), text);
  }
}

TEST(ErrorBoxText, CharactersAbove127SortAfterTheFullStop) {
  EXPECT_EQ(ErrorBoxText("Fehler \xE4"), "Fehler \xE4.");
  EXPECT_EQ(ErrorBoxText("\xFF"), "\xFF.");
}

TEST(AutoSizedLeft, RightAlignedLabelsKeepTheirRightEdge) {
  // "Save report" designed at 442 with width 74 ends at 516 whatever its new width.
  EXPECT_EQ(AutoSizedLeft(TextAlign::Right, 442, 74, 120), 516 - 120);
  EXPECT_EQ(AutoSizedLeft(TextAlign::Right, 442, 74, 20), 516 - 20);
  EXPECT_EQ(AutoSizedLeft(TextAlign::Left, 442, 74, 120), 442);
  EXPECT_EQ(AutoSizedLeft(TextAlign::Center, 9, 198, 250), 9);
}

TEST(FillQueue, RunsAtOnceWhenIdle) {
  FillQueue queue;
  int runs = 0;
  EXPECT_TRUE(queue.Run("a", [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(queue.Busy());
}

TEST(FillQueue, RequestsDuringAFillRunAfterItInOrderEachOnce) {
  FillQueue queue;
  std::vector<std::string> log;
  queue.Run("fill", [&] {
    log.push_back("fill begins");
    // What a message pump inside the fill would let through: clicks, tab changes, a report.
    EXPECT_FALSE(queue.Run("show:2", [&] { log.push_back("show 2"); }));
    EXPECT_FALSE(queue.Run("click", [&] { log.push_back("click"); }));
    EXPECT_FALSE(queue.Run("show:2", [&] { log.push_back("show 2 again"); }));
    EXPECT_TRUE(queue.IsPending("show:2"));
    EXPECT_EQ(queue.Pending(), 2u);
    log.push_back("fill ends");
  });
  // The repeated request runs once, as it last came: the last click wins.
  EXPECT_EQ(log, (std::vector<std::string>{"fill begins", "fill ends", "click", "show 2 again"}));
  EXPECT_EQ(queue.Pending(), 0u);
  EXPECT_FALSE(queue.Busy());
}

TEST(FillQueue, ARequestMadeByAQueuedRequestIsNotLost) {
  FillQueue queue;
  std::vector<std::string> log;
  queue.Run("first", [&] {
    queue.Run("second", [&] {
      log.push_back("second");
      queue.Run("third", [&] { log.push_back("third"); });
    });
    log.push_back("first");
  });
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third"}));
}

TEST(FillQueue, AFailingRequestIsReportedAndTheOthersStillRun) {
  FillQueue queue;
  std::vector<std::string> errors;
  queue.SetErrorSink([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      errors.push_back(e.what());
    }
  });
  int later = 0;
  queue.Run("fill", [&] {
    queue.Run("later", [&] { ++later; });
    throw std::runtime_error("Stream write error");
  });
  EXPECT_EQ(errors, std::vector<std::string>{"Stream write error"});
  EXPECT_EQ(later, 1);
  EXPECT_FALSE(queue.Busy());
  // The queue is usable again.
  EXPECT_TRUE(queue.Run("again", [&] { ++later; }));
  EXPECT_EQ(later, 2);
}

TEST(FillQueue, AThrowingErrorSinkLeavesTheQueueIdleAndNothingLost) {
  FillQueue queue;
  queue.SetErrorSink([](std::exception_ptr) { throw std::runtime_error("no error box"); });
  int closes = 0;
  EXPECT_THROW(queue.Run("fill",
                         [&] {
                           queue.Run("close", [&] { ++closes; });
                           throw std::runtime_error("fill failed");
                         }),
               std::runtime_error);
  EXPECT_FALSE(queue.Busy());
  EXPECT_TRUE(queue.IsPending("close"));
  // The next request runs at once, and the waiting close after it.
  EXPECT_TRUE(queue.Run("show:0", [] {}));
  EXPECT_EQ(closes, 1);
}

// What lands in a mail or a spreadsheet when rows are copied from a list.
TEST(RowsAsText, HeadersThenOneLinePerRowCellsJoinedByTabs) {
  using Rows = std::vector<std::vector<std::string>>;
  const struct {
    const char* why;
    std::vector<std::string> headers;
    Rows rows;
    std::string expected;
  } cases[] = {
      {"headers and rows, every line closed by CR LF",
       {"Program", "Publisher"},
       {{"Editor", "Maker"}, {"Viewer", ""}},
       "Program\tPublisher\r\nEditor\tMaker\r\nViewer\t\r\n"},
      {"an icon column without header or text is left out",
       {"", "User", "Program", "Location"},
       {{"", "Anna", "Tool", "C:\\t.exe"}},
       "User\tProgram\tLocation\r\nAnna\tTool\tC:\\t.exe\r\n"},
      {"a column without header but with text stays",
       {"", "Name"},
       {{"x", "a"}},
       "\tName\r\nx\ta\r\n"},
      {"tabs and line breaks inside a cell become spaces",
       {"A", "B"},
       {{"one\ttwo", "three\r\nfour"}},
       "A\tB\r\none two\tthree  four\r\n"},
      {"a row shorter than the headers gets empty cells",
       {"A", "B"},
       {{"only"}},
       "A\tB\r\nonly\t\r\n"},
      {"no rows: the headers alone", {"A"}, {}, "A\r\n"},
      {"no columns: nothing", {}, {{"stray"}}, ""},
      {"code page bytes pass unchanged", {"N\xE4me"}, {{"\x9A\xED"}}, "N\xE4me\r\n\x9A\xED\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(RowsAsText(c.headers, c.rows), c.expected) << c.why;
}

}  // namespace
}  // namespace orv
