// Read-out of the instrument's settings, the e-mail switch and the
// threshold/hysteresis set, tick by tick with the exact bytes sent.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(Settings, Scripts) {
  const struct {
    const char *firmware, *script, *wire;  // the script starts right after the version reply
  } rows[] = {
      // Read-out: one query per tick, each reply shows its value and queues the next.
      {"1.20", "t <95 t <5 t t*24 <ON ?Txt_Theshold ?Txt_Hysteresis ?EMail ?TxtBox_Reply t",
       "@1 THRESHOLD? @2 HYS? @3 EMAIL? Txt_Theshold=95 Txt_Hysteresis=5 EMail=Ready TxtBox_Reply= "
       "@28 close"},
      {"1.20", "t <100 ?Txt_Theshold t <<9 ?Txt_Hysteresis",
       "@1 THRESHOLD? Txt_Theshold=10 @2 HYS? Txt_Hysteresis=9"},
      {"1.20", "t < ?Txt_Theshold t <<ab ?Txt_Hysteresis",
       "@1 THRESHOLD? Txt_Theshold= @2 HYS? Txt_Hysteresis=ab"},
      {"1.20", "t <<\n ?Txt_Theshold", "@1 THRESHOLD? Txt_Theshold="},
      {"1.20", "t <9 t <9 t EMail=x <on ?EMail", "@1 THRESHOLD? @2 HYS? @3 EMAIL? EMail=not Ready"},
      {"1.20", "t <9 t <9 t EMail=x <<ON ?EMail",
       "@1 THRESHOLD? @2 HYS? @3 EMAIL? EMail=not Ready"},
      {"1.20", "t <9 t <9 t EMail=x <ON~ ?EMail",
       "@1 THRESHOLD? @2 HYS? @3 EMAIL? EMail=not Ready"},
      // A late reply lands in the next field.
      {"1.20", "t t <90 ?Txt_Theshold ?Txt_Hysteresis t",
       "@1 THRESHOLD? @2 THRESHOLD? Txt_Theshold=0 Txt_Hysteresis=90 @3 EMAIL?"},
      // The switch sends the other state; only a command that went out flips the button.
      {"1.10", "t email ?EMail t <OK ?EMail t email t <OK ?EMail t",
       "@1 close connect EMail=not Ready @2 EMAIL ON EMail=Ready @3 close connect @4 EMAIL OF "
       "EMail=not Ready @5 close"},
      {"1.10", "t offline email t ?EMail email",
       "@1 close connect @2 close !Can't connected ! EMail=not Ready connect"},
      // Both texts go out as typed in one send.
      {"1.10", "t Txt_Theshold=95 Txt_Hysteresis=2 set t <OK <OK t",
       "@1 close connect @2 THRESHOLD 95\r\nHYS 2 @3 close"},
      {"1.10", "t Txt_Theshold= Txt_Hysteresis= set t", "@1 close connect @2 THRESHOLD \r\nHYS "},
      {"1.10", "t Txt_Theshold=9.5ab Txt_Hysteresis=~1~ set t",
       "@1 close connect @2 THRESHOLD 9.5ab\r\nHYS  1 "},
      // Ignored while a run, another command or a read-out query waits for its tick.
      {"1.10", "t start email set t", "@1 close connect @2 PURITY?"},
      {"1.10", "t single email set t", "@1 close connect @2 VER?"},
      {"1.10", "t email email set t", "@1 close connect @2 EMAIL ON"},
      {"1.10", "t set email set t", "@1 close connect @2 THRESHOLD 0\r\nHYS 0"},
      {"1.20", "email set t", "@1 THRESHOLD?"},
      {"1.20", "t <90 email set t <5 email set t", "@1 THRESHOLD? @2 HYS? @3 EMAIL?"},
      {"1.20", "t <90 t <5 t email <OFF t ?EMail",
       "@1 THRESHOLD? @2 HYS? @3 EMAIL? connect @4 EMAIL ON EMail=Ready"},
      // A port error queues nothing; the corrected click is not refused.
      {"1.10", "t HostPTEdit=40000 email set HostPTEdit=7777 email t",
       "@1 close !Port number 40000 is out of range. !Port number 40000 is out of range. connect "
       "@2 "
       "EMAIL ON"},
  };
  for (const auto& row : rows) {
    Rig r;
    r.Run(std::string("check t <") + row.firmware);
    EXPECT_EQ(r.Run(row.script), row.wire) << row.firmware << ": " << row.script;
  }
}

}  // namespace
}  // namespace zrv::test
