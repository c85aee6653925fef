// Each received block is one reply, routed by the controller state.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(ReplyInterpreter, APairBecomesOneRecordLineCutByLength) {
  const struct {
    const char *purity, *temp, *record;
  } rows[] = {
      {"99.9%\r\n", "25.3DEG\r\n", "99.9 25.3 %&DEG\r\n"},
      {"100.0%\r\n", "-5.0DEG\r\n", "100.0 -5.0 %&DEG\r\n"},
      {"bad\r\n", "Illegal Command!!\r\n", "ba Illegal Comman %&DEG\r\n"},
      // Too short to cut: an empty value, never a failure.
      {"%\r\n", "DEG\r\n", "  %&DEG\r\n"},
      {"%\n", "DEG\n", "  %&DEG\r\n"},
      {"", "", "  %&DEG\r\n"},
      // Blocks are never split or joined: two replies in one are one reply.
      {"99.9%\r\n25.3DEG\r\n", "25.3DEG\r\n", "99.9%\r\n25.3DE 25.3 %&DEG\r\n"},
  };
  for (const auto& row : rows) {
    Rig r;
    r.AcceptVersion();
    r.StartContinue("1");
    r.Tick();
    r.Reply(row.purity);
    EXPECT_EQ(r.g.PurityReceived, -1);
    EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
    r.Tick();
    r.Reply(row.temp);
    const std::string line = std::string(kStamp) + " " + row.record;
    EXPECT_EQ(r.vm.TxtBox_Reply.text, line) << row.purity;
    EXPECT_EQ(ReadFileBytes("zrv-02.log"), line) << row.purity;
    EXPECT_EQ(r.g.PurityReceived, 0);
    EXPECT_EQ(r.g.RecordText + r.g.RecordTime, "");
    EXPECT_TRUE(r.messages.shown.empty());
  }
}

TEST(ReplyInterpreter, AnEmailNoticeIsItsOwnRecordAndKeepsThePair) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();
  r.Reply("79.0%\r\n");
  r.clock.stamp = "2026/12/06 18:41:14";
  r.Reply("E-MAIL ALARM\r\n");
  r.Tick();
  EXPECT_EQ(r.socket.Sent().back(), "TEMP?\r\n") << "the notice must not cost the pair";
  r.clock.stamp = "2026/12/06 18:41:15";
  r.Reply("25.3DEG\r\n");
  const std::string expected =
      "2026/12/06 18:41:14 E-MAIL ALARM\r\n2026/12/06 18:41:15 79.0 25.3 %&DEG\r\n";
  EXPECT_EQ(r.vm.TxtBox_Reply.text, expected);
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), expected);
}

TEST(ReplyInterpreter, AVersionReplyIsNeverRecordedNotEvenANotice) {
  Rig r;
  r.w.Version_Check_Click();
  r.Tick();
  r.Reply("E-MAIL ALARM\r\n");  // read as a version reply: not recognised
  EXPECT_EQ(r.g.VersionPending, 1);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
  EXPECT_EQ(r.g.ReplyHandled, 0);
  // Before any run the first reply after the check only pairs up; the next
  // one makes a record.
  r.Reply("1.10\r\n");
  r.Reply("OK\r\n");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, std::string(kStamp) + " OK\r\n");
  r.Reply("OK\r\n");
  EXPECT_EQ(r.g.HistoryCount, 1);
}

TEST(ReplyInterpreter, SingleRepliesAreRecordedAsReceivedButNeverLogged) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("10");
  r.Pair();
  r.w.stop_Click();
  r.Tick(2);
  const std::string log = ReadFileBytes("zrv-02.log");
  ASSERT_EQ(log, std::string(kStamp) + " 99.5 25.3 %&DEG\r\n");
  r.StartSingle("VER?");
  r.Tick();
  r.Reply("1.10\r\n");
  r.Reply("no line end");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, log + kStamp + " 1.10\r\n" + kStamp + " no line end");
  EXPECT_EQ(r.g.HistoryLines[2], std::string(kStamp) + " no line end");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), log);
  EXPECT_TRUE(r.messages.shown.empty());
}

}  // namespace
}  // namespace zrv::test
