// The 100-line history: appended while filling, shifted and rebuilt once
// full, emptied by clear.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// Single-mode replies "R1\r\n", "R2\r\n", ... each forming one record.
void Records(Rig& r, int from, int to) {
  // Appended rather than "R" + ...: g++ 12 at -O2 warns falsely (-Wrestrict)
  // on prepending a literal.
  for (int i = from; i <= to; ++i)
    r.Reply(std::string("R").append(std::to_string(i)).append("\r\n"));
}

std::string Lines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += "2026/12/06 18:41:13 R" + std::to_string(i) + "\r\n";
  return text;
}

class ReplyHistory : public testing::Test {
 protected:
  void SetUp() override {
    r.AcceptVersion();
    r.StartSingle("X");
    r.Tick();
  }
  Rig r;
};

TEST_F(ReplyHistory, TheHundredthRecordStillAppendsAndFillsTheBuffer) {
  Records(r, 1, 99);
  EXPECT_EQ(r.g.HistoryCount, 99);
  EXPECT_EQ(r.g.HistoryFull, 0);
  Records(r, 100, 100);
  EXPECT_EQ(r.g.HistoryCount, 99);
  EXPECT_EQ(r.g.HistoryFull, -1);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(1, 100));
  EXPECT_EQ(r.vm.TxtBox_Reply.selStart, r.vm.TxtBox_Reply.text.size());
}

TEST_F(ReplyHistory, FromTheHundredAndFirstTheOldestLineScrollsOut) {
  Records(r, 1, 101);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(2, 101));
  EXPECT_EQ(r.g.HistoryLines[0], "2026/12/06 18:41:13 R2\r\n");
  EXPECT_EQ(r.g.HistoryLines[99], "2026/12/06 18:41:13 R101\r\n");
  Records(r, 102, 250);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(151, 250));
  EXPECT_EQ(r.vm.TxtBox_Reply.selStart, r.vm.TxtBox_Reply.text.size());
}

TEST_F(ReplyHistory, ClearStartsAgainAtSlotZero) {
  Records(r, 1, 120);
  r.w.clear_Click();
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
  EXPECT_EQ(r.g.HistoryCount, 0);
  EXPECT_EQ(r.g.HistoryFull, 0);
  for (const auto& slot : r.g.HistoryLines) EXPECT_EQ(slot, "");
  Records(r, 121, 122);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, Lines(121, 122));
  EXPECT_EQ(r.g.HistoryCount, 2);
}

TEST_F(ReplyHistory, ClearDuringAContinueRunKeepsThePair) {
  Rig run;
  run.AcceptVersion();
  run.StartContinue("1");
  run.Tick();
  run.Reply("99.0%\r\n");
  run.w.clear_Click();
  run.Tick();
  run.Reply("25.3DEG\r\n");
  EXPECT_EQ(run.vm.TxtBox_Reply.text, "2026/12/06 18:41:13 99.0 25.3 %&DEG\r\n");
}

}  // namespace
}  // namespace zrv::test
