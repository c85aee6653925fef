// Timer1's tick, tick for tick: which command goes out when, how long a
// reply is waited for, and when the link is closed, reopened and let go.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(PollScheduler, TickTable) {
  ExpectRuns(
      "check t <1.10 t Txt_Interval=1",
      {
          // Up to 9 s the link stays open between pairs; from 10 s it is
          // closed after each pair and reopened one tick before the next.
          {"start t <99.5% t <25.3DEG t*4 <99.5% t <25.3DEG t*4",
           "connect @1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? @11 PURITY?"},
          {"Txt_Interval=9 start t <99.5% t <25.3DEG t*44 <99.5% t",
           "connect @1 PURITY? @2 TEMP? @46 PURITY? @47 TEMP?"},
          // TCP Condition lights while data goes out and goes white when the link closes.
          {"Txt_Interval=10 start t ?TCP_Condition.color <99.5% t <25.3DEG t ?TCP_Condition.color "
           "t*48 <99.5% t",
           "connect @1 PURITY? TCP_Condition.color=lightorange @2 TEMP? @3 close "
           "TCP_Condition.color=white @50 connect @51 PURITY? @52 TEMP?"},
          {"Txt_Interval=0 start t <99.5% t <25.3DEG t*49999",
           "connect @1 PURITY? @2 TEMP? @3 close @50000 connect @50001 PURITY?"},
          // A reply is waited for 24 ticks; the 25th abandons the pair on a new
          // connection, where the reply given up on cannot follow, and the next
          // tick starts it again. Waiting does not advance the interval.
          {"start t t*24 <99.5% t", "connect @1 PURITY? @26 TEMP?"},
          {"start t t*25 <99.2% t <99.5% t <25.3DEG ?log",
           "connect @1 PURITY? @26 close connect @27 PURITY? @28 TEMP? log=T 99.5 25.3 %&DEG\r\n"},
          // Lines nobody asked for are no replies: they neither pair nor wait.
          {"start <x t <99.5% t <25.3DEG <NOISE t*4 <99.5% <NOISE t <25.3DEG ?log",
           "connect @1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? log=T 99.5 25.3 %&DEG\r\nT 99.5 25.3 "
           "%&DEG\r\n"},
          // The next pair waits for the temperature reply of the previous one.
          {"start t <99.5% t*30", "connect @1 PURITY? @2 TEMP? @30 close connect @31 PURITY?"},
          // Five time-outs in a row end a run; a record in between starts the count again.
          {"start t*26 t <99.5% t <25.3DEG t*200 ?start",
           "connect @1 PURITY? @26 close connect @27 PURITY? @28 TEMP? @32 PURITY? @57 close "
           "connect @58 PURITY? @83 close connect @84 PURITY? @109 close connect @110 PURITY? "
           "@135 close connect @136 PURITY? @161 close !no response from the host ! start=start"},
          // stop is honoured with the next TEMP? or between pairs of a long
          // interval; the tick after that lets the link go.
          {"Txt_Interval=60 start t <99.5% t <25.3DEG t*8 stop t*9 ?start",
           "connect @1 PURITY? @2 TEMP? @3 close @12 close start=start"},
          {"start t <99.5% stop t t*2 <25.3DEG t*9 ?log",
           "connect @1 PURITY? @2 TEMP? @5 close log=T 99.5 25.3 %&DEG\r\n"},
          {"start t <99.5% t <25.3DEG t stop t*3 <99.5% t <25.3DEG t*9 ?TCP_Condition.color",
           "connect @1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? @8 close TCP_Condition.color=white"},
          {"start t stop t*10 <99.5% t <25.3DEG t*9", "connect @1 PURITY? @12 TEMP? @13 close"},
          // A late temperature reply of a long interval keeps the link open.
          {"Txt_Interval=10 start t <99.5% t t*3 <25.3DEG t*2 ?log",
           "connect @1 PURITY? @2 TEMP? @6 close log=T 99.5 25.3 %&DEG\r\n"},
          // A purity reply alone is no record: an instrument that never answers
          // "TEMP?" times out five times like a silent one.
          {"start t <99.5% t t*28 t <99.5% t t*28 t <99.5% t t*28 t <99.5% t t*28 t <99.5% t t*28",
           "connect @1 PURITY? @2 TEMP? @30 close connect @31 PURITY? @32 TEMP? @60 close connect "
           "@61 PURITY? @62 TEMP? @90 close connect @91 PURITY? @92 TEMP? @120 close connect @121 "
           "PURITY? @122 TEMP? @150 close !no response from the host !"},
      });
}

}  // namespace zrv::test
