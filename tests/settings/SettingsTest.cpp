// Read-out of the instrument's settings, the e-mail switch and the
// threshold/hysteresis set, tick by tick with the exact bytes sent.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(Settings, ReadoutOnFirmware120) {
  ExpectRuns("check t <1.20",
             {
                 // One query per tick, each reply shows its value and queues the next.
                 {"t <95 t <5 t t*24 <ON ?Txt_Theshold ?Txt_Hysteresis ?EMail ?TxtBox_Reply t",
                  "@1 THRESHOLD? @2 HYS? @3 EMAIL? Txt_Theshold=95 Txt_Hysteresis=5 EMail=Ready "
                  "TxtBox_Reply= @28 close"},
                 {"t <100 ?Txt_Theshold t <9 ?Txt_Hysteresis",
                  "@1 THRESHOLD? Txt_Theshold=10 @2 HYS? Txt_Hysteresis=9"},
                 {"t < ?Txt_Theshold", "@1 THRESHOLD? Txt_Theshold="},
                 // A notice is a notice, also in a read-out; the query's reply still counts.
                 {"t <E-MAIL~ALARM ?Txt_Theshold <95 ?Txt_Theshold t ?TxtBox_Reply",
                  "@1 THRESHOLD? Txt_Theshold=0 Txt_Theshold=95 @2 HYS? TxtBox_Reply=T E-MAIL "
                  "ALARM\r\n"},
                 // A cut reply gives no value: the read-out ends and Check reads again.
                 {"t <<9 ?Txt_Theshold ?Version_Check t",
                  "@1 THRESHOLD? Txt_Theshold=0 Version_Check=Complete @2 close"},
                 {"t <9 t <9 t EMail=x <on ?EMail email t",
                  "@1 THRESHOLD? @2 HYS? @3 EMAIL? EMail=not Ready connect @4 EMAIL ON"},
                 // Each query waits for the reply before it, so a late reply lands in its
                 // own field; one later than the time-out is given up on, and Check reads again.
                 {"t t*3 <90 t <05 t t*5 <ON t ?Txt_Theshold ?Txt_Hysteresis ?EMail",
                  "@1 THRESHOLD? @5 HYS? @6 EMAIL? @12 close Txt_Theshold=90 Txt_Hysteresis=05 "
                  "EMail=Ready"},
                 {"t t*25 <90 ?Txt_Theshold ?Version_Check ?TxtBox_Reply t",
                  "@1 THRESHOLD? Txt_Theshold=0 Version_Check=Complete TxtBox_Reply=T 90\r\n @27 "
                  "close"},
                 // Clicks are ignored while a read-out query waits for its tick; at the
                 // e-mail reply the switch shows what it sent, whatever the reply said.
                 {"email set t", "@1 THRESHOLD?"},
                 // A start abandons the read-out: the run's replies are no settings.
                 {"start t ?Version_Check", "connect @1 PURITY? Version_Check=Complete"},
                 {"t <90 email set t <5 email set t", "@1 THRESHOLD? @2 HYS? @3 EMAIL?"},
                 // A click during the last step starts a new connection, which the
                 // e-mail state reply cannot follow: the read-out is cut.
                 {"t <90 t <5 t email <OFF t ?EMail <OK t t ?Version_Check",
                  "@1 THRESHOLD? @2 HYS? @3 EMAIL? connect @4 EMAIL ON EMail=Ready @6 close "
                  "Version_Check=Complete"},
             });
}

TEST(Settings, SwitchAndSetOnFirmware110) {
  ExpectRuns(
      "check t <1.10 t",
      {
          // The switch sends the other state; only a command that went out flips it.
          {"email ?EMail.color t <OK ?EMail ?EMail.color t email t <OK ?EMail ?EMail.color t",
           "connect EMail.color=buttonface @1 EMAIL ON EMail=Ready EMail.color=green @2 close "
           "connect @3 EMAIL OF EMail=not Ready EMail.color=buttonface @4 close"},
          {"offline email t ?EMail email",
           "connect @1 close !Can't connected ! EMail=not Ready connect"},
          // Both texts go out as typed in one send; the acknowledgements are not waited for.
          {"Txt_Theshold=95 Txt_Hysteresis=2 set t t ?TxtBox_Reply",
           "connect @1 THRESHOLD 95\r\nHYS 2 @2 close TxtBox_Reply="},
          {"Txt_Theshold=9.5ab Txt_Hysteresis=~1~ set t", "connect @1 THRESHOLD 9.5ab\r\nHYS  1 "},
          // After a run, the acknowledgements are shown, never logged or paired.
          {"Txt_Interval=1 start t <99.5% stop t <25.3DEG t set t <OK <OK t email t <OK t ?log "
           "?TxtBox_Reply",
           "connect @1 PURITY? @2 TEMP? @3 close connect @4 THRESHOLD 0\r\nHYS 0 @5 close connect "
           "@6 EMAIL ON @7 close log=T 99.5 25.3 %&DEG\r\n TxtBox_Reply=T 99.5 25.3 %&DEG\r\nT "
           "OK\r\nT OK\r\nT OK\r\n"},
          // Ignored while a run or another command waits for its tick.
          {"start email set t", "connect @1 PURITY?"},
          {"single email set t", "connect @1 VER?"},
          {"email email set t", "connect @1 EMAIL ON"},
          {"set email set t", "connect @1 THRESHOLD 0\r\nHYS 0"},
          // A port error queues nothing; the corrected click is not refused.
          {"HostPTEdit=40000 email set HostPTEdit=7777 email t",
           "!Port number 40000 is out of range. !Port number 40000 is out of range. connect "
           "@1 EMAIL ON"},
      });
}

}  // namespace zrv::test
