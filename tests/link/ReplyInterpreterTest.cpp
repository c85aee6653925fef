// Each received block is one reply, routed by the controller state.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(ReplyInterpreter, PairsNoticesVersionRepliesAndSingleReplies) {
  ExpectRuns(
      "check t <1.10 t",
      {
          // A pair becomes one record line, each value cut by its length; too short: empty.
          {"start t <100.0% ?TxtBox_Reply t <-5.0DEG ?TxtBox_Reply ?log",
           "connect @1 PURITY? TxtBox_Reply= @2 TEMP? TxtBox_Reply=T 100.0 -5.0 %&DEG\r\n "
           "log=T 100.0 -5.0 %&DEG\r\n"},
          {"start t <bad t <Illegal~Command!! ?log",
           "connect @1 PURITY? @2 TEMP? log=T ba Illegal Comman %&DEG\r\n"},
          {"start t <% t < ?log", "connect @1 PURITY? @2 TEMP? log=T   %&DEG\r\n"},
          // A reply cut short (no line end) or of the other query's form is no
          // part of a record: shown as it came, and the pair is asked again.
          {"start t <<99. t <99.5% t <<25. t <99.4% t <25.3DEG ?log ?TxtBox_Reply",
           "connect @1 PURITY? close connect @2 PURITY? @3 TEMP? close connect @4 PURITY? @5 TEMP? "
           "log=T 99.4 25.3 %&DEG\r\n TxtBox_Reply=T 99.\r\nT 25.\r\nT 99.4 25.3 %&DEG\r\n"},
          {"start t <25.3DEG t <99.5% t <99.6% t <99.7% t <25.3DEG ?log ?TxtBox_Reply",
           "connect @1 PURITY? close connect @2 PURITY? @3 TEMP? close connect @4 PURITY? @5 TEMP? "
           "log=T 99.7 25.3 %&DEG\r\n TxtBox_Reply=T 25.3DEG\r\nT 99.6%\r\nT 99.7 25.3 "
           "%&DEG\r\n"},
          // A notice is its own record and does not cost the pair it interrupts.
          {"start t <79.0% <E-MAIL~ALARM t <25.3DEG ?log",
           "connect @1 PURITY? @2 TEMP? log=T E-MAIL ALARM\r\nT 79.0 25.3 %&DEG\r\n"},
          // Single replies, and notices in a Single run, are recorded as received,
          // never logged; a line cut short or empty is still one line.
          {"start t <99.5% t <25.3DEG stop t t single t <1.10 <<no~end <E-MAIL~ALARM < "
           "?TxtBox_Reply ?log",
           "connect @1 PURITY? @2 TEMP? @4 close connect @5 VER? TxtBox_Reply=T 99.5 25.3 "
           "%&DEG\r\nT 1.10\r\nT no end\r\nT E-MAIL ALARM\r\nT \r\n log=T 99.5 25.3 %&DEG\r\n"},
      });
  // A version reply is never recorded, a notice always; what the instrument
  // says outside a run is shown as it came, and a cut version reply is asked again.
  EXPECT_EQ(Rig().Run("check t <E-MAIL~ALARM <<1. t <1.10 <OK <OK ?TxtBox_Reply ?Label10"),
            "connect @1 VER? @2 VER? TxtBox_Reply=T E-MAIL ALARM\r\nT OK\r\nT OK\r\n "
            "Label10=1.10");
}

}  // namespace zrv::test
