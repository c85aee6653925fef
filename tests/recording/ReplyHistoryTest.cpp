// The 100-line history: appended while filling, shifted and rebuilt once
// full, emptied by clear.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// Single-mode replies "R<from>" to "R<to>", each forming one record.
void Records(Rig& r, int from, int to) {
  // Appended rather than "R" + ...: g++ 12 at -O2 warns falsely (-Wrestrict)
  // on prepending a literal.
  for (int i = from; i <= to; ++i)
    r.Reply(std::string("R").append(std::to_string(i)).append("\r\n"));
}

std::string Lines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += std::string(kStamp) + " R" + std::to_string(i) + "\r\n";
  return text;
}

TEST(ReplyHistory, FillsToAHundredThenTheOldestLineScrollsOut) {
  Rig r;
  r.AcceptVersion();
  r.StartSingle("X");
  r.Tick();
  const struct {
    int upTo, count, full, first;
  } rows[] = {{99, 99, 0, 1}, {100, 99, -1, 1}, {101, 99, -1, 2}, {250, 99, -1, 151}};
  int next = 1;
  for (const auto& row : rows) {
    Records(r, next, row.upTo);
    next = row.upTo + 1;
    EXPECT_EQ(r.g.HistoryCount, row.count) << row.upTo;
    EXPECT_EQ(r.g.HistoryFull, row.full) << row.upTo;
    EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(row.first, row.upTo)) << row.upTo;
    EXPECT_EQ(r.vm.TxtBox_Reply.selStart, r.vm.TxtBox_Reply.text.size()) << row.upTo;
    EXPECT_EQ(r.g.HistoryLines[0] + r.g.HistoryLines[99],
              row.full ? Lines(row.first, row.first) + Lines(row.upTo, row.upTo) : Lines(1, 1));
    r.w.EMail_Click();  // a switch waiting for its tick changes nothing here
  }
  r.w.clear_Click();
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
  EXPECT_EQ(std::tuple(r.g.HistoryCount, r.g.HistoryFull), std::tuple(0, 0));
  for (const auto& slot : r.g.HistoryLines) EXPECT_EQ(slot, "");
  Records(r, 1, 2);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(1, 2));
  EXPECT_EQ(r.g.HistoryCount, 2);
}

TEST(ReplyHistory, ClearDuringAContinueRunKeepsThePair) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();
  r.Reply("99.0%\r\n");
  r.w.clear_Click();
  r.Tick();
  r.Reply("25.3DEG\r\n");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, std::string(kStamp) + " 99.0 25.3 %&DEG\r\n");
}

}  // namespace
}  // namespace zrv::test
