// The purity alarm: which readings raise it, and the blink of Alarm_Display.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

struct AlarmCase {
  const char* level;
  const char* purity;
  std::int16_t before;
  std::int16_t after;
};

TEST(PurityAlarm, TheIntegerPartIsComparedWithTheLevel) {
  const AlarmCase cases[] = {
      {"80", "79.9%\r\n", 0, -1},
      {"80", "80.0%\r\n", -1, 0},
      {"80", "80.9%\r\n", -1, 0},
      {"99", "100.0%\r\n", 0, 0},
      {"0", "0.0%\r\n", 0, 0},
      {"10", "9.9%\r\n", 0, -1},
      {"80", "05.0%\r\n", 0, -1},
      // Malformed shapes leave the alarm as it was.
      {"80", "Illegal Command!!\r\n", -1, -1},
      {"80", " 9.9%\r\n", 0, 0},
      {"80", "79,9%\r\n", 0, 0},
      {"80", "79.9%", 0, 0},
      {"80", "79.9%\r\n\r\n", 0, 0},
      {"80", "7a.9%\r\n", -1, -1},
      {"80", "79.9 %\r\n", 0, 0},
      {"80", "1000.0%\r\n", 0, 0},
  };
  for (const auto& c : cases) {
    Rig r;
    r.AcceptVersion();
    r.StartContinue("1", c.level);
    r.g.AlarmActive = c.before;
    r.Tick();
    r.Reply(c.purity);
    EXPECT_EQ(r.g.AlarmActive, c.after) << "level " << c.level << " reply " << c.purity;
  }
}

TEST(PurityAlarm, OnlyThePurityReplyOfAContinueRunIsEvaluated) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1", "80");
  r.Tick();
  r.Reply("99.0%\r\n");
  r.Tick();
  r.Reply("10.0%\r\n");  // a temperature reply that looks like purity
  EXPECT_EQ(r.g.AlarmActive, 0);

  r.g.AlarmActive = -1;
  r.Tick(10);
  r.w.stop_Click();
  r.Tick(3);
  Rig single;
  single.AcceptVersion();
  single.g.AlarmActive = -1;
  single.StartSingle("PURITY?");
  EXPECT_EQ(single.g.AlarmActive, 0) << "a Single start clears an old alarm";
  single.Tick();
  single.Reply("10.0%\r\n");
  EXPECT_EQ(single.g.AlarmActive, 0);
}

TEST(PurityAlarm, BlinksRedAndPaleCyanStartingOnRed) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1", "80");
  r.Tick();
  r.Reply("50.0%\r\n");
  std::vector<std::uint32_t> seen;
  for (int i = 0; i < 5; ++i) {
    r.w.Timer2_Timer();
    seen.push_back(*r.vm.Alarm_Display.backColor);
  }
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{kRed, kPaleCyan, kRed, kPaleCyan, kRed}));
  r.Tick();
  r.Reply("25.3DEG\r\n");
  r.Tick(4);  // the next purity query
  r.Reply("90.0%\r\n");
  r.w.Timer2_Timer();
  EXPECT_EQ(r.vm.Alarm_Display.backColor, kPaleCyan);
  r.w.Timer2_Timer();
  EXPECT_EQ(r.vm.Alarm_Display.backColor, kPaleCyan);
}

TEST(PurityAlarm, AStopClearsTheAlarmAFailureLeavesItBlinking) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("10", "80");
  r.Tick();
  r.Reply("50.0%\r\n");
  r.w.stop_Click();
  r.Tick();  // TEMP? honours the stop
  EXPECT_EQ(r.g.AlarmActive, 0);

  Rig failed;
  failed.AcceptVersion();
  failed.StartContinue("1", "80");
  failed.Tick();
  failed.Reply("50.0%\r\n");
  failed.socket.connected = false;
  failed.Tick();  // TEMP? cannot be sent
  EXPECT_EQ(failed.messages.shown, std::vector<std::string>{"Can't connected !"});
  EXPECT_EQ(failed.g.AlarmActive, -1);
}

}  // namespace
}  // namespace zrv::test
