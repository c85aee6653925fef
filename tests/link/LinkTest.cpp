// Opening the link, handing commands to the socket, and the halt after a
// failure.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(Link, OpenLinkTakesHostAndPortFromTheFields) {
  struct Case {
    const char* port;
    std::int16_t value;
  };
  for (const Case& c : {Case{"7777", 7777}, Case{"7777.5", 7778}, Case{"7776.5", 7776}, Case{"", 0},
                        Case{"-1", -1}, Case{"32767", 32767}}) {
    Rig r;
    r.vm.HostIPEdit.text = "127.0.0.1";
    r.vm.HostPTEdit.text = c.port;
    r.w.OpenLink();
    EXPECT_EQ(r.g.HostAddress, "127.0.0.1");
    EXPECT_EQ(r.g.HostPort, c.value) << c.port;
    EXPECT_EQ(r.g.LinkOpen, -1);
    EXPECT_EQ(r.socket.calls, (std::vector<std::string>{
                                  "host 127.0.0.1", "port " + std::to_string(c.value), "connect"}));
    EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite) << "connect alone does not light it";
  }
}

TEST(Link, APortBeyondSixteenBitsStopsTheHandlerBeforeTheSocket) {
  Rig r;
  r.vm.HostPTEdit.text = "99999";
  EXPECT_THROW(r.w.OpenLink(), OverflowError);
  EXPECT_TRUE(r.socket.calls.empty());
  EXPECT_EQ(r.g.LinkOpen, 0);
}

// A Continue run whose connect has not completed when the purity query is due.
void PrepareUnconnectedPoll(Rig& r) {
  r.AcceptVersion();
  r.socket.connectsImmediately = false;
  r.StartContinue("10");
}

TEST(Link, ThePurityQueryIsRetriedSilentlyWhileTheLinkComesUp) {
  Rig r;
  PrepareUnconnectedPoll(r);
  r.Tick(37);
  EXPECT_EQ(r.g.SendRetries, 37);
  EXPECT_EQ(r.g.SendFailed, -1);
  EXPECT_EQ(r.g.PollPhase, 2);
  EXPECT_TRUE(r.messages.shown.empty());
  // The interval does not advance while retrying.
  EXPECT_EQ(r.g.TickCount, 0);

  r.socket.connected = true;  // the last reconnect has completed
  r.Tick();
  EXPECT_EQ(r.g.SendRetries, 0);
  EXPECT_EQ(r.g.SendFailed, 0);
  EXPECT_EQ(r.g.PollPhase, 1);
  EXPECT_EQ(r.socket.Sent().back(), "PURITY?\r\n");
  EXPECT_EQ(r.vm.TCP_Condition.backColor, kLightOrange);
}

TEST(Link, TheHundredthFailureEndsTheRunWithOneMessage) {
  Rig r;
  PrepareUnconnectedPoll(r);
  r.Tick(99);
  EXPECT_TRUE(r.messages.shown.empty());
  EXPECT_TRUE(r.timer1.enabled);
  r.Tick();
  EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Can't connected !"});
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.g.ContinuousRun, 0);
  EXPECT_EQ(r.g.LinkOpen, 0);
  EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite);
  EXPECT_TRUE(r.vm.start.enabled);
}

TEST(Link, OtherFailedSendsAreReportedAtOnce) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> prepare;
  };
  const Case cases[] = {
      {"version query", [](Rig& r) { r.w.Version_Check_Click(); }},
      {"single command",
       [](Rig& r) {
         r.AcceptVersion();
         r.StartSingle("VER?");
       }},
      {"temperature query",
       [](Rig& r) {
         r.AcceptVersion();
         r.StartContinue("10");
         r.Tick();
         r.Reply("99.5%\r\n");
       }},
      // After a Continue run that ended in phase 2 the switch command is no
      // longer a poll: it must not vanish in the silent retry.
      {"settings command after a run",
       [](Rig& r) {
         r.AcceptVersion();
         r.StartContinue("10");
         r.g.PollPhase = 2;
         r.w.HaltPolling();
         r.w.EMail_Click();
       }},
  };
  for (const Case& c : cases) {
    Rig r;
    c.prepare(r);
    r.socket.connected = false;
    r.socket.connectsImmediately = false;
    r.Tick();
    EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Can't connected !"}) << c.name;
    EXPECT_FALSE(r.timer1.enabled) << c.name;
    EXPECT_EQ(r.socket.calls.back(), "close") << c.name;
  }
}

TEST(Link, AnErrorOtherThanNotConnectedIsNeverRetried) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("10");
  r.socket.failWith = 10053;
  r.Tick();
  EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Can't connected !"});
  EXPECT_EQ(r.g.ContinuousRun, 0);
}

TEST(Link, HaltPollingLeavesStartAloneUntilAVersionIsAccepted) {
  Rig r;
  r.vm.start.enabled = false;
  r.w.HaltPolling();
  EXPECT_FALSE(r.vm.start.enabled);
  r.g.VersionPending = 0;
  r.w.HaltPolling();
  EXPECT_TRUE(r.vm.start.enabled);
}

}  // namespace
}  // namespace zrv::test
