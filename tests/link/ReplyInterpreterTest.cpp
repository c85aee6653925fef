// Each received block is one reply, routed by the controller state.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(ReplyInterpreter, APairBecomesOneRecordLineCutByLength) {
  const std::tuple<const char*, const char*, std::string> rows[] = {
      {"100.0%\r\n", "-5.0DEG\r\n", "100.0 -5.0 %&DEG\r\n"},
      {"bad\r\n", "Illegal Command!!\r\n", "ba Illegal Comman %&DEG\r\n"},
      // Too short to cut: an empty value, never a failure.
      {"%\n", "DEG\n", "  %&DEG\r\n"},
      {"", "", "  %&DEG\r\n"},
      // Blocks are never split or joined: two replies in one are one reply.
      {"99.9%\r\n25.3DEG\r\n", "25.3DEG\r\n", "99.9%\r\n25.3DE 25.3 %&DEG\r\n"},
  };
  for (const auto& [purity, temp, record] : rows) {
    Rig r;
    r.Run("check t <1.10 t start t");
    r.Reply(purity);
    EXPECT_EQ(r.Run("?TxtBox_Reply t"), "TxtBox_Reply= @1 TEMP?");
    r.Reply(temp);
    EXPECT_EQ(r.Run("?TxtBox_Reply ?log"), "TxtBox_Reply=T " + record + " log=T " + record);
  }
}

TEST(ReplyInterpreter, NoticesVersionRepliesAndSingleReplies) {
  ExpectRuns(
      "check t",
      {
          // A notice is its own record and does not cost the pair it interrupts.
          {"<1.10 t start t <79.0% <E-MAIL~ALARM t <25.3DEG ?log",
           "@1 close connect @2 PURITY? @3 TEMP? log=T E-MAIL ALARM\r\nT 79.0 25.3 %&DEG\r\n"},
          // A version reply is never recorded, not even a notice; before any
          // run the first reply after the check only pairs up, the next is recorded.
          {"<E-MAIL~ALARM <1.10 <OK <OK ?TxtBox_Reply", "TxtBox_Reply=T OK\r\n"},
          // Single replies are recorded as received, never logged.
          {"<1.10 t start t <99.5% t <25.3DEG stop t t single t <1.10 <<no~end "
           "?TxtBox_Reply ?log",
           "@1 close connect @2 PURITY? @3 TEMP? @5 close connect @6 VER? "
           "TxtBox_Reply=T 99.5 25.3 %&DEG\r\nT 1.10\r\nT no end log=T 99.5 25.3 %&DEG\r\n"},
      });
}

}  // namespace
}  // namespace zrv::test
