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

TEST(ReplyInterpreter, NoticesVersionRepliesAndSingleReplies) {
  const std::string at = std::string(kStamp) + " ";
  const std::pair<const char*, std::string> rows[] = {
      // A notice is its own record and does not cost the pair it interrupts.
      {"check t <1.10 t start t <79.0% <E-MAIL~ALARM t <25.3DEG ?log",
       "connect @1 VER? @2 close connect @3 PURITY? @4 TEMP? log=" + at + "E-MAIL ALARM\r\n" + at +
           "79.0 25.3 %&DEG\r\n"},
      // A version reply is never recorded, not even a notice; before any run
      // the first reply after the check only pairs up, the next one is recorded.
      {"check t <E-MAIL~ALARM <1.10 <OK <OK ?TxtBox_Reply",
       "connect @1 VER? TxtBox_Reply=" + at + "OK\r\n"},
      // Single replies are recorded as received, never logged.
      {"check t <1.10 t Txt_Interval=10 start t <99.5% t <25.3DEG stop t t single t <1.10 <<no~end "
       "?TxtBox_Reply ?log",
       "connect @1 VER? @2 close connect @3 PURITY? @4 TEMP? @6 close connect @7 VER? "
       "TxtBox_Reply=" +
           at + "99.5 25.3 %&DEG\r\n" + at + "1.10\r\n" + at + "no end log=" + at +
           "99.5 25.3 %&DEG\r\n"},
  };
  for (const auto& [script, wire] : rows) {
    Rig r;
    EXPECT_EQ(r.Run(script), wire) << script;
  }
}

}  // namespace
}  // namespace zrv::test
