// The 100-line history: appended while filling, shifted and rebuilt once
// full, emptied by clear.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// Records "T R<from>" to "T R<to>", one line each.
std::string Lines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text.append("T R").append(std::to_string(i)).append("\r\n");
  return text;
}

TEST(ReplyHistory, FillsToAHundredThenTheOldestLineScrollsOut) {
  Rig r;
  r.Run("check t <1.10 t Txt_Command=X single t");
  int next = 1;
  for (const auto& [upTo, full, first] :
       {std::tuple{99, 0, 1}, {100, -1, 1}, {101, -1, 2}, {250, -1, 151}}) {
    for (; next <= upTo; ++next) r.Reply(Lines(next, next).substr(2));
    // The history shown whole, the caret after its end.
    EXPECT_EQ(std::tuple(r.g.HistoryCount, r.g.HistoryFull, r.vm.TxtBox_Reply.text,
                         r.vm.TxtBox_Reply.selStart),
              std::tuple(99, full, Lines(first, upTo), Lines(first, upTo).size()));
    r.w.EMail_Click();  // a switch waiting for its tick changes nothing here
  }
  EXPECT_EQ(r.Run("clear ?TxtBox_Reply <R1 <R2 ?TxtBox_Reply"),
            "TxtBox_Reply= TxtBox_Reply=" + Lines(1, 2));
  EXPECT_EQ(std::tuple(r.g.HistoryCount, r.g.HistoryFull), std::tuple(2, 0));
  // clear during a Continue run keeps the pair it interrupts.
  ExpectRuns("check t <1.10 t",
             {{"start t <99.0% clear t <25.3DEG ?TxtBox_Reply",
               "connect @1 PURITY? @2 TEMP? TxtBox_Reply=T 99.0 25.3 %&DEG\r\n"}});
}

}  // namespace
}  // namespace zrv::test
