// Timer1's tick, tick for tick: which command goes out when, and when the
// link is closed and reopened.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

using Texts = std::vector<std::string>;

// Ticks `count` times with a prompt instrument: every query is answered
// before the next tick. Returns, per tick number, what happened on the wire.
std::map<int, Texts> RunPrompt(Rig& r, int count) {
  std::map<int, Texts> wire;
  for (int tick = 1; tick <= count; ++tick) {
    const std::size_t before = r.socket.calls.size();
    r.Tick();
    for (std::size_t i = before; i < r.socket.calls.size(); ++i) {
      const std::string& call = r.socket.calls[i];
      wire[tick].push_back(call);
      if (call == "send PURITY?\r\n") r.socket.inbox += "99.5%\r\n";
      if (call == "send TEMP?\r\n") r.socket.inbox += "25.3DEG\r\n";
    }
    if (!r.socket.inbox.empty()) r.w.tcpclient_DataArrival(0);
  }
  return wire;
}

TEST(PollScheduler, OneSecondIntervalKeepsTheLinkOpen) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.socket.calls.clear();
  auto wire = RunPrompt(r, 11);
  EXPECT_EQ(wire[1], Texts{"send PURITY?\r\n"});
  EXPECT_EQ(wire[2], Texts{"send TEMP?\r\n"});
  for (int t : {3, 4, 5, 8, 9, 10}) EXPECT_TRUE(wire[t].empty()) << "tick " << t;
  EXPECT_EQ(wire[6], Texts{"send PURITY?\r\n"});
  EXPECT_EQ(wire[7], Texts{"send TEMP?\r\n"});
  EXPECT_EQ(wire[11], Texts{"send PURITY?\r\n"});
  EXPECT_EQ(r.socket.Count("close"), 0);
}

TEST(PollScheduler, TenSecondIntervalClosesAndReopensBetweenPolls) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("10");
  r.socket.calls.clear();
  auto wire = RunPrompt(r, 52);
  EXPECT_EQ(wire[1], Texts{"send PURITY?\r\n"});
  EXPECT_EQ(wire[2], Texts{"send TEMP?\r\n"});
  EXPECT_EQ(wire[3], Texts{"close"});
  for (int t = 4; t < 50; ++t) EXPECT_TRUE(wire[t].empty()) << "tick " << t;
  EXPECT_EQ(wire[50], Texts{"connect"});
  EXPECT_EQ(wire[51], Texts{"send PURITY?\r\n"});
  EXPECT_EQ(wire[52], Texts{"send TEMP?\r\n"});
}

TEST(PollScheduler, APurityReplyAfterTwentyFourWaitTicksIsUsed) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();  // PURITY?
  r.NewlySent();
  r.Tick(24);
  EXPECT_TRUE(r.NewlySent().empty());
  r.Reply("99.5%\r\n");
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"TEMP?\r\n"});
  EXPECT_EQ(r.g.NoReplyCount, 0);
}

TEST(PollScheduler, TheTwentyFifthWaitTickAbandonsThePair) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();
  r.NewlySent();
  r.Tick(25);
  EXPECT_EQ(r.g.NoReplyCount, 1);
  EXPECT_TRUE(r.NewlySent().empty());
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"PURITY?\r\n"});
}

TEST(PollScheduler, TheFifthTimeOutOfARunEndsItEvenWithGoodPairsBetween) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  for (int timeout = 1; timeout <= 5; ++timeout) {
    r.Tick();  // PURITY? goes out, nothing comes back
    r.Tick(25);
    if (timeout < 5) {
      EXPECT_EQ(r.g.NoReplyCount, timeout);
      EXPECT_TRUE(r.messages.shown.empty());
      // A good pair in between does not reset the count.
      r.Tick();
      r.Reply("99.5%\r\n");
      r.Tick();
      r.Reply("25.3DEG\r\n");
      r.Tick(3);
    }
  }
  EXPECT_EQ(r.messages.shown, Texts{"no response from the host !"});
  EXPECT_EQ(r.g.NoReplyCount, 0);
  EXPECT_EQ(r.g.ContinuousRun, 0);
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.socket.calls.back(), "close");
}

struct StopCase {
  const char* name;
  const char* interval;
  int ticksBeforeStop;  // prompt replies throughout
  int ticksToEnd;       // ticks after the stop until ContinuousRun is 0
};

TEST(PollScheduler, StopEndsTheRunAtTheNextStoppingPoint) {
  const StopCase cases[] = {
      {"long interval, between polls", "60", 10, 1},
      {"long interval, right after PURITY?", "60", 1, 1},  // TEMP? tick honours it
      {"short interval, between polls", "1", 3, 4},        // waits for the next TEMP?
      {"short interval, right after PURITY?", "1", 1, 1},
  };
  for (const auto& c : cases) {
    Rig r;
    r.AcceptVersion();
    r.StartContinue(c.interval);
    RunPrompt(r, c.ticksBeforeStop);
    r.w.stop_Click();
    EXPECT_EQ(r.g.ContinuousRun, -1) << c.name;
    RunPrompt(r, c.ticksToEnd);
    EXPECT_EQ(r.g.ContinuousRun, 0) << c.name;
    EXPECT_EQ(r.g.AlarmActive, 0) << c.name;
    EXPECT_TRUE(r.timer1.enabled) << c.name;
    const std::size_t calls = r.socket.calls.size();
    r.Tick();  // idle stop
    EXPECT_FALSE(r.timer1.enabled) << c.name;
    EXPECT_TRUE(r.vm.start.enabled) << c.name;
    EXPECT_EQ(r.socket.calls.size(), calls + 1) << c.name;
    EXPECT_EQ(r.socket.calls.back(), "close") << c.name;
    EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite) << c.name;
  }
}

TEST(PollScheduler, AStopDuringAShortIntervalWaitWaitsForTheNextTemperatureQuery) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  r.Tick();  // PURITY?, no reply yet
  r.w.stop_Click();
  r.Tick(10);
  EXPECT_EQ(r.g.ContinuousRun, -1);
  r.Reply("99.5%\r\n");
  r.Tick();
  EXPECT_EQ(r.socket.Sent().back(), "TEMP?\r\n");
  EXPECT_EQ(r.g.ContinuousRun, 0);
}

TEST(PollScheduler, SingleCommandGoesOutOnceThenTheLinkCloses) {
  Rig r;
  r.AcceptVersion();
  r.StartSingle("HYS?");
  r.NewlySent();
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"HYS?\r\n"});
  EXPECT_EQ(r.g.SingleCommandPending, 0);
  r.Reply("07\r\n");
  r.Tick();
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.socket.calls.back(), "close");
}

TEST(PollScheduler, WaitingForTheEmailStateKeepsTheTimerRunning) {
  Rig r;
  r.AcceptVersion("1.20\r\n");
  r.Reply("90\r\n");
  r.Tick();
  r.Reply("05\r\n");
  r.Tick();  // EMAIL?
  r.NewlySent();
  r.Tick(23);
  EXPECT_TRUE(r.NewlySent().empty());
  EXPECT_TRUE(r.timer1.enabled);
  EXPECT_EQ(r.g.LinkOpen, -1);
  r.Reply("ON\r\n");
  r.Tick();
  EXPECT_FALSE(r.timer1.enabled);
}

}  // namespace
}  // namespace zrv::test
