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
                 {"t <100 ?Txt_Theshold t <<9 ?Txt_Hysteresis",
                  "@1 THRESHOLD? Txt_Theshold=10 @2 HYS? Txt_Hysteresis=9"},
                 {"t <<\n ?Txt_Theshold", "@1 THRESHOLD? Txt_Theshold="},
                 {"t <9 t <9 t EMail=x <on ?EMail email t",
                  "@1 THRESHOLD? @2 HYS? @3 EMAIL? EMail=not Ready connect @4 EMAIL ON"},
                 // A late reply lands in the next field.
                 {"t t <90 ?Txt_Theshold ?Txt_Hysteresis t",
                  "@1 THRESHOLD? @2 THRESHOLD? Txt_Theshold=0 Txt_Hysteresis=90 @3 EMAIL?"},
                 // Clicks are ignored while a read-out query waits for its tick; at the
                 // e-mail reply the switch shows what it sent, whatever the reply said.
                 {"email set t", "@1 THRESHOLD?"},
                 // A start abandons the read-out: the run's replies are no settings.
                 {"start t ?Version_Check", "connect @1 PURITY? Version_Check=Complete"},
                 {"t <90 email set t <5 email set t", "@1 THRESHOLD? @2 HYS? @3 EMAIL?"},
                 {"t <90 t <5 t email <OFF t ?EMail <OK t",
                  "@1 THRESHOLD? @2 HYS? @3 EMAIL? connect @4 EMAIL ON EMail=Ready @5 close"},
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
          // Both texts go out as typed in one send, owing two replies.
          {"Txt_Theshold=95 Txt_Hysteresis=2 set t <OK t <OK t",
           "connect @1 THRESHOLD 95\r\nHYS 2 @3 close"},
          {"Txt_Theshold=9.5ab Txt_Hysteresis=~1~ set t", "connect @1 THRESHOLD 9.5ab\r\nHYS  1 "},
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
