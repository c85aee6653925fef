// Each received block is one reply, routed by the controller state.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

constexpr const char* kStamp = "2026/12/06 18:41:13";

// A Continue run whose purity query has just gone out.
void AwaitPurity(Rig& r) {
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();
}

TEST(ReplyInterpreter, APairBecomesOneRecordLine) {
  Rig r;
  AwaitPurity(r);
  r.Reply("99.9%\r\n");
  EXPECT_EQ(r.g.PurityReceived, -1);
  EXPECT_EQ(r.g.PurityText, "99.9");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
  r.Tick();
  r.Reply("25.3DEG\r\n");
  EXPECT_EQ(r.g.PurityReceived, 0);
  EXPECT_EQ(r.g.TempText, "25.3");
  const std::string line = std::string(kStamp) + " 99.9 25.3 %&DEG\r\n";
  EXPECT_EQ(r.vm.TxtBox_Reply.text, line);
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), line);
  EXPECT_EQ(r.g.RecordText, "");
  EXPECT_EQ(r.g.RecordTime, "");
}

TEST(ReplyInterpreter, ValueTextsAreCutByLengthWhateverTheReply) {
  struct Case {
    const char* purity;
    const char* temp;
    const char* record;
  };
  const Case cases[] = {
      {"100.0%\r\n", "-5.0DEG\r\n", "100.0 -5.0 %&DEG\r\n"},
      {"9.9%\r\n", "25.3DEG\r\n", "9.9 25.3 %&DEG\r\n"},
      {"bad\r\n", "Illegal Command!!\r\n", "ba Illegal Comman %&DEG\r\n"},
      // Too short to cut: an empty value, never a failure.
      {"%\n", "DEG\n", "  %&DEG\r\n"},
      {"", "", "  %&DEG\r\n"},
  };
  for (const Case& c : cases) {
    Rig r;
    AwaitPurity(r);
    r.Reply(c.purity);
    r.Tick();
    r.Reply(c.temp);
    EXPECT_EQ(r.vm.TxtBox_Reply.text, std::string(kStamp) + " " + c.record) << c.purity;
    EXPECT_TRUE(r.messages.shown.empty());
  }
}

TEST(ReplyInterpreter, BlocksAreNeverSplitOrJoined) {
  Rig r;
  AwaitPurity(r);
  r.Reply("99.9%\r\n25.3DEG\r\n");  // two replies in one block: one purity reply
  EXPECT_EQ(r.g.PurityReply, "99.9%\r\n25.3DEG\r\n");
  EXPECT_EQ(r.g.PurityReceived, -1);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
}

TEST(ReplyInterpreter, AnEmailNoticeIsItsOwnRecordAndKeepsThePair) {
  Rig r;
  AwaitPurity(r);
  r.Reply("79.0%\r\n");
  r.clock.stamp = "2026/12/06 18:41:14";
  r.Reply("E-MAIL ALARM\r\n");
  EXPECT_EQ(r.g.PurityReceived, -1) << "the notice must not cost the pair";
  r.Tick();
  EXPECT_EQ(r.socket.Sent().back(), "TEMP?\r\n");
  r.clock.stamp = "2026/12/06 18:41:15";
  r.Reply("25.3DEG\r\n");
  const std::string expected =
      "2026/12/06 18:41:14 E-MAIL ALARM\r\n"
      "2026/12/06 18:41:15 79.0 25.3 %&DEG\r\n";
  EXPECT_EQ(r.vm.TxtBox_Reply.text, expected);
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), expected);
  EXPECT_EQ(r.g.NoReplyCount, 0);
}

TEST(ReplyInterpreter, ControlRepliesTakeANoticeAsTheirOwn) {
  Rig r;
  r.w.Version_Check_Click();
  r.Tick();
  r.Reply("E-MAIL ALARM\r\n");  // read as a version reply: not recognised
  EXPECT_EQ(r.g.VersionPending, 1);
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
  EXPECT_EQ(r.g.PurityReceived, -1);
  EXPECT_EQ(r.g.ReplyHandled, 0);
}

TEST(ReplyInterpreter, SingleModeRecordsTheReplyAsReceived) {
  Rig r;
  r.AcceptVersion();
  r.StartSingle("VER?");
  r.Tick();
  r.Reply("1.10\r\n");
  r.Reply("no line end");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, std::string(kStamp) + " 1.10\r\n" + kStamp + " no line end");
  EXPECT_EQ(r.g.HistoryLines[1], std::string(kStamp) + " no line end");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), "") << "Single replies never reach the log";
}

TEST(ReplyInterpreter, BeforeAnyRunAReplyAfterTheVersionCheckIsRecorded) {
  Rig r;
  r.AcceptVersion();
  EXPECT_EQ(r.g.PurityReceived, -1);
  r.Reply("OK\r\n");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, std::string(kStamp) + " OK\r\n");
  EXPECT_EQ(r.g.PurityReceived, 0);
  r.Reply("OK\r\n");
  EXPECT_EQ(r.g.HistoryCount, 1) << "the next one pairs up again and makes no record";
}

}  // namespace
}  // namespace zrv::test
