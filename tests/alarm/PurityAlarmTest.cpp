// The purity alarm: which readings raise it, and the blink of Alarm_Display.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(PurityAlarm, TheIntegerPartOfAWellFormedReadingIsComparedWithTheLevel) {
  // Level, reply, the alarm after it from either state (-1 on); 1: any other shape keeps it.
  // clang-format off
  const std::tuple<const char*, const char*, int> rows[] = {
      {"80", "79.9%\r\n", -1}, {"80", "80.0%\r\n", 0},  {"80", "80.9%\r\n", 0},
      {"99", "100.0%\r\n", 0}, {"0", "0.0%\r\n", 0},    {"10", "9.9%\r\n", -1},
      {"80", "05.0%\r\n", -1}, {"80", " 9.9%\r\n", 1},  {"80", "79,9%\r\n", 1},
      {"80", "79.9%", 1},      {"80", "7a.9%\r\n", 1},  {"80", "79.a%\r\n", 1},
      {"80", "79.9%\r\r", 1},  {"80", "79.9 %\r\n", 1}, {"80", "1000.0%\r\n", 1},
      {"80", ".9%\r\n", 1},    {"80", "", 1},           {"80", "79.9%\r\n\r\n", 1},
      {"80", "Illegal Command!!\r\n", 1}};
  // clang-format on
  for (const auto& [level, reply, alarm] : rows) {
    for (const std::int16_t before : {0, -1}) {
      Rig r;
      r.Run(std::string("check t <1.10 t Txt_Alarm_level=") + level + " start t");
      r.g.AlarmActive = before;
      r.Reply(reply);
      EXPECT_EQ(r.g.AlarmActive, alarm == 1 ? before : alarm) << reply << before;
    }
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
    while (blink.size() < std::string(seen).size()) {
      r.w.Timer2_Timer();
      const std::uint32_t color = *r.vm.Alarm_Display.backColor;
      blink += color == kRed ? 'R' : color == kPaleCyan ? 'c' : '?';
    }
    EXPECT_EQ(blink, seen) << script;
  }
}

}  // namespace zrv::test
