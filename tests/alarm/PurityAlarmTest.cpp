// The purity alarm: which readings raise it, and the blink of Alarm_Display.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(PurityAlarm, TheIntegerPartOfAWellFormedReadingIsComparedWithTheLevel) {
  const struct {
    const char *level, *purity;
    std::int16_t before, after;
  } rows[] = {
      {"80", "79.9%\r\n", 0, -1},
      {"80", "80.0%\r\n", -1, 0},
      {"80", "80.9%\r\n", -1, 0},
      {"99", "100.0%\r\n", -1, 0},
      {"0", "0.0%\r\n", 0, 0},
      {"10", "9.9%\r\n", 0, -1},
      {"80", "05.0%\r\n", 0, -1},
      // Any other shape leaves the alarm as it was.
      {"80", "Illegal Command!!\r\n", -1, -1},
      {"80", " 9.9%\r\n", 0, 0},
      {"80", "79,9%\r\n", 0, 0},
      {"80", "79.9%", 0, 0},
      {"80", "79.9%\r\n\r\n", 0, 0},
      {"80", "7a.9%\r\n", -1, -1},
      {"80", "79.a%\r\n", 0, 0},
      {"80", "79.9%\r\r", 0, 0},
      {"80", "79.9 %\r\n", 0, 0},
      {"80", "1000.0%\r\n", -1, -1},
      {"80", ".9%\r\n", -1, -1},
      {"80", "", -1, -1},
  };
  for (const auto& row : rows) {
    Rig r;
    r.AcceptVersion();
    r.StartContinue("1", row.level);
    r.g.AlarmActive = row.before;
    r.Tick();
    r.Reply(row.purity);
    EXPECT_EQ(r.g.AlarmActive, row.after) << "level " << row.level << " reply " << row.purity;
  }
}

TEST(PurityAlarm, OnlyThePurityReplyOfAContinueRunIsEvaluatedAndBlinksStartingOnRed) {
  const auto blink = [](Rig& r, int times) {
    std::string seen;
    for (int i = 0; i < times; ++i) {
      r.w.Timer2_Timer();
      seen += *r.vm.Alarm_Display.backColor == kRed        ? "R"
              : *r.vm.Alarm_Display.backColor == kPaleCyan ? "c"
                                                           : "?";
    }
    return seen;
  };
  for (const auto& [script, seen] :
       {std::pair{"start t <99.0% t <10.0%", "cc"},  // a temperature reply that looks like purity
        {"start t <50.0% t <25.3DEG", "RcRcR"},
        {"Txt_Interval=1 start t <50.0% t <25.3DEG t*4 <90.0%", "cc"},
        {"Txt_Interval=10 start t <50.0% stop t", "cc"},  // the TEMP? tick honours stop
        {"start t <50.0% offline t", "RcR"},              // a failed send leaves it blinking
        {"start t <50.0% offline t single", "cc"},        // a Single start clears it
        {"start t <99.0% stop t t single t <10.0%", "cc"}}) {
    Rig r;
    r.Run("check t <1.10 t");
    r.Run(script);
    EXPECT_EQ(blink(r, static_cast<int>(std::string(seen).size())), seen) << script;
  }
}

}  // namespace
}  // namespace zrv::test
