// The purity alarm: which readings raise it, and the blink of Alarm_Display.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(PurityAlarm, TheIntegerPartOfAWellFormedReadingIsComparedWithTheLevel) {
  const auto alarmAfter = [](const char* level, const char* reply, std::int16_t before) {
    Rig r;
    r.Run(std::string("check t <1.10 t Txt_Interval=1 Txt_Alarm_level=") + level + " start t");
    r.g.AlarmActive = before;
    r.Reply(reply);
    return r.g.AlarmActive;
  };
  const std::tuple<const char*, const char*, int> wellFormed[] = {
      {"80", "79.9%\r\n", -1}, {"80", "80.0%\r\n", 0}, {"80", "80.9%\r\n", 0},
      {"99", "100.0%\r\n", 0}, {"0", "0.0%\r\n", 0},   {"10", "9.9%\r\n", -1},
      {"80", "05.0%\r\n", -1}};
  for (const auto& [level, reply, alarm] : wellFormed) {
    EXPECT_EQ(alarmAfter(level, reply, 0), alarm) << reply;
    EXPECT_EQ(alarmAfter(level, reply, -1), alarm) << reply;
  }
  // Any other shape leaves the alarm as it was.
  for (const char* reply :
       {"Illegal Command!!\r\n", " 9.9%\r\n", "79,9%\r\n", "79.9%", "79.9%\r\n\r\n", "7a.9%\r\n",
        "79.a%\r\n", "79.9%\r\r", "79.9 %\r\n", "1000.0%\r\n", ".9%\r\n", ""}) {
    EXPECT_EQ(alarmAfter("80", reply, 0), 0) << reply;
    EXPECT_EQ(alarmAfter("80", reply, -1), -1) << reply;
  }
}

TEST(PurityAlarm, OnlyThePurityReplyOfAContinueRunIsEvaluatedAndBlinksStartingOnRed) {
  for (const auto& [script, seen] :
       {std::pair{"start t <99.0% t <10.0%", "cc"},  // a temperature reply that looks like purity
        {"start t <50.0% t <25.3DEG", "RcRcR"},
        {"Txt_Interval=1 start t <99.0% t <25.3DEG <50.0%", "cc"},  // a stray reply between pairs
        {"Txt_Interval=1 start t <50.0% t <25.3DEG t*4 <90.0%", "cc"},
        {"start t <50.0% stop t", "cc"},            // the TEMP? tick honours stop
        {"start t <50.0% offline t", "RcR"},        // a failed send leaves it blinking
        {"start t <50.0% offline t single", "cc"},  // a Single start clears it
        {"start t <99.0% stop t t single t <10.0%", "cc"}}) {
    Rig r;
    r.Run(std::string("check t <1.10 t ") + script);
    std::string blink;
    for (std::size_t i = 0; i < std::string(seen).size(); ++i) {
      r.w.Timer2_Timer();
      const std::uint32_t color = *r.vm.Alarm_Display.backColor;
      blink += color == kRed ? 'R' : color == kPaleCyan ? 'c' : '?';
    }
    EXPECT_EQ(blink, seen) << script;
  }
}

}  // namespace
}  // namespace zrv::test
