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

TEST(PurityAlarm, OnlyThePurityReplyOfAContinueRunIsEvaluated) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1", "80");
  r.Tick();
  r.Reply("99.0%\r\n");
  r.Tick();
  r.Reply("10.0%\r\n");  // a temperature reply that looks like purity
  EXPECT_EQ(r.g.AlarmActive, 0);
  Rig single;
  single.AcceptVersion();
  single.g.AlarmActive = -1;
  single.StartSingle("PURITY?");
  EXPECT_EQ(single.g.AlarmActive, 0) << "a Single start clears an old alarm";
  single.Tick();
  single.Reply("10.0%\r\n");
  EXPECT_EQ(single.g.AlarmActive, 0);
}

TEST(PurityAlarm, BlinksRedAndPaleCyanStartingOnRedWhileBelowTheLevel) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1", "80");
  std::vector<std::uint32_t> seen;
  const auto blink = [&](int times) {
    for (int i = 0; i < times; ++i)
      r.w.Timer2_Timer(), seen.push_back(*r.vm.Alarm_Display.backColor);
  };
  r.Pair("50.0%\r\n");
  blink(5);
  r.Tick(4);  // the next purity query
  r.Reply("90.0%\r\n");
  blink(2);
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{kRed, kPaleCyan, kRed, kPaleCyan, kRed, kPaleCyan,
                                              kPaleCyan}));
}

}  // namespace
}  // namespace zrv::test
