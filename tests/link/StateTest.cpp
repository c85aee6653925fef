// The controller state as the program starts: every later rule compares with
// these exact values.
#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(State, StartValuesAfterFormLoad) {
  Rig r;
  const SvGlobal01B& g = r.g;
  EXPECT_EQ(g.VersionPending, 1);
  EXPECT_EQ(g.ReadoutStep, 0);
  EXPECT_EQ(g.HistoryCount, 0);
  EXPECT_EQ(g.HistoryFull, 0);
  for (const auto& slot : g.HistoryLines) EXPECT_EQ(slot, "");
  for (std::int16_t flag : {g.LinkOpen,
                            g.SendFailed,
                            g.SendRetries,
                            g.ContinuousRun,
                            g.SingleCommandPending,
                            g.SingleMode,
                            g.MeasureMode,
                            g.StopRequested,
                            g.ShortInterval,
                            g.AlarmLevel,
                            g.PollPhase,
                            g.PurityReceived,
                            g.WaitTicks,
                            g.NoReplyCount,
                            g.AlarmActive,
                            g.BlinkState,
                            g.ReplyHandled,
                            g.EmailAlarmReceived,
                            g.LogEnabled,
                            g.EmailSwitchPending,
                            g.ParamSetPending,
                            g.EmailEnabled}) {
    EXPECT_EQ(flag, 0);
  }
  EXPECT_EQ(g.TickCount, 0);
  EXPECT_EQ(g.IntervalSeconds, 0);
  EXPECT_EQ(g.PendingCommand, "");
}

TEST(State, NothingIsSentOrTimedAtStartUp) {
  Rig r;
  EXPECT_TRUE(r.socket.calls.empty());
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.timer1.interval, 200);
  EXPECT_TRUE(r.timer2.enabled);
  EXPECT_EQ(r.timer2.interval, 200);
  EXPECT_FALSE(r.vm.Main_Frame.enabled);
  EXPECT_FALSE(r.vm.EMail_Frame.enabled);
}

}  // namespace
}  // namespace zrv::test
