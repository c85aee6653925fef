// Opening the link, starting a run, handing commands to the socket and the
// halt after a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(Link, OpenLinkTakesHostAndPortFromTheFields) {
  for (const auto& [port, calls] :
       {std::pair{"7777.5", Texts{"host ::1", "port 7778", "connect"}},
        std::pair{"", Texts{"host ::1", "port 0", "connect"}}, std::pair{"99999", Texts{}}}) {
    Rig r;
    r.vm.HostIPEdit.text = "::1";
    r.vm.HostPTEdit.text = port;
    r.w.RunHandler([&] { r.w.OpenLink(); });
    EXPECT_EQ(r.socket.calls, calls) << port;
    EXPECT_EQ(r.g.LinkOpen, calls.empty() ? 0 : -1) << port;
    EXPECT_EQ(r.messages.shown.size(), calls.empty() ? 1u : 0u) << port;
    EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite) << "a connect alone does not light it";
  }
}

TEST(Link, ContinueStartPreparesThePollCycle) {
  for (const auto& [interval, seconds, shortInterval] :
       {std::tuple{"1", 1, -1}, {"9", 9, -1}, {"10", 10, 0}, {"0", 10000, 0}, {"9999", 9999, 0}}) {
    Rig r;
    r.AcceptVersion();
    r.g.AlarmActive = r.g.StopRequested = r.g.PurityReceived = r.g.SendFailed = -1;
    r.g.WaitTicks = r.g.NoReplyCount = r.g.SendRetries = 3;
    r.StartContinue(interval, "75");
    const SvGlobal01B& g = r.g;
    EXPECT_EQ(std::tuple(g.IntervalSeconds, g.TickCount, g.ShortInterval, g.AlarmLevel),
              std::tuple(seconds, seconds * 5, shortInterval, 75))
        << interval;
    EXPECT_EQ(
        (std::vector<int>{g.ContinuousRun, g.MeasureMode, g.SingleMode, g.PollPhase, g.AlarmActive,
                          g.BlinkState, g.LogEnabled, g.StopRequested, g.PurityReceived, g.LinkOpen,
                          g.SendFailed, g.WaitTicks, g.NoReplyCount, g.SendRetries}),
        (std::vector<int>{-1, -1, 0, 0, 0, -1, -1, 0, 0, -1, 0, 0, 0, 0}));
    EXPECT_FALSE(r.vm.start.enabled);
    EXPECT_TRUE(r.timer1.enabled);
    EXPECT_EQ(r.timer1.interval, 200);
  }
}

TEST(Link, AWrongEntryGivesOneMessageAndKeepsTheOldLog) {
  std::filesystem::create_directory("a-directory");
  const struct {
    const char *interval, *level, *port, *logName;
  } rows[] = {
      {"", "80", "7777", "zrv-02.log"},      {"1x", "80", "7777", "zrv-02.log"},
      {"-5", "80", "7777", "zrv-02.log"},    {"10", "", "7777", "zrv-02.log"},
      {"10", "99999", "7777", "zrv-02.log"}, {"10", "80", "99999", "zrv-02.log"},
      {"10", "80", "7777", "missing/x.log"}, {"10", "80", "7777", "a-directory"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.interval << " " << row.level << " " << row.logName);
    WriteFileBytes("zrv-02.log", "previous run\r\n");
    Rig r;
    r.AcceptVersion();
    r.vm.HostIPEdit.text = "127.0.0.1";
    r.vm.HostPTEdit.text = row.port;
    r.socket.calls.clear();
    r.StartContinue(row.interval, row.level, row.logName);
    EXPECT_EQ(r.messages.shown, Texts{"Wrong Parameter !"});
    // The connect goes out before the entries are read, and is closed again.
    EXPECT_EQ(r.socket.calls, (row.port == std::string("7777")
                                   ? Texts{"host 127.0.0.1", "port 7777", "connect", "close"}
                                   : Texts{"close"}));
    EXPECT_FALSE(r.timer1.enabled);
    EXPECT_TRUE(r.vm.start.enabled);
    EXPECT_EQ(r.g.ContinuousRun, 0);
    EXPECT_EQ(r.g.LinkOpen, 0);
    EXPECT_EQ(ReadFileBytes("zrv-02.log"), "previous run\r\n");
  }
}

TEST(Link, ModeButtonsSwitchOnlyTheirFields) {
  Rig r;
  for (const bool single : {true, false, true}) {
    single ? r.w.Single_mode_Click() : r.w.Continue_mode_Click();
    EXPECT_EQ(r.vm.Txt_Command.enabled, single);
    for (Control* c : {&r.vm.Txt_Interval, &r.vm.Txt_Alarm_level, &r.vm.Txt_Save_File, &r.vm.Drive1,
                       &r.vm.Dir1}) {
      EXPECT_EQ(c->enabled, !single) << c->name;
    }
  }
}

// A Continue run whose connect has not completed when the purity query is due.
void StartUnconnected(Rig& r) {
  r.AcceptVersion();
  r.socket.connectsImmediately = false;
  r.StartContinue("10");
  r.messages.shown.clear();
}

TEST(Link, ThePurityQueryIsRetriedSilentlyWhileTheLinkComesUp) {
  Rig r;
  StartUnconnected(r);
  r.socket.calls.clear();
  r.Tick(37);
  EXPECT_EQ(r.socket.calls.size(), 74u);
  EXPECT_EQ(r.socket.calls.back(), "connect");
  EXPECT_EQ(r.g.SendRetries, 37);
  EXPECT_EQ(r.g.TickCount, 0) << "the interval does not advance while retrying";
  EXPECT_TRUE(r.messages.shown.empty());
  r.socket.connected = true;  // the last reconnect has completed
  r.Tick();
  EXPECT_EQ(r.socket.calls.back(), "send PURITY?\r\n");
  EXPECT_EQ(std::tuple(r.g.SendRetries, r.g.SendFailed, r.g.PollPhase), std::tuple(0, 0, 1));
  EXPECT_EQ(r.vm.TCP_Condition.backColor, kLightOrange);
  r.Reply("99.5%\r\n");
  r.Tick();
  EXPECT_EQ(r.socket.calls.back(), "send TEMP?\r\n");
}

TEST(Link, TheHundredthFailureEndsTheRunWithOneMessage) {
  Rig r;
  StartUnconnected(r);
  r.Tick(99);
  EXPECT_TRUE(r.messages.shown.empty());
  EXPECT_TRUE(r.timer1.enabled);
  r.Tick();
  EXPECT_EQ(r.messages.shown, Texts{"Can't connected !"});
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(std::tuple(r.g.ContinuousRun, r.g.LinkOpen, r.g.SendRetries), std::tuple(0, 0, 0));
  EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite);
  EXPECT_TRUE(r.vm.start.enabled);
}

TEST(Link, OtherFailedSendsAreReportedAtOnce) {
  const std::function<void(Rig&)> rows[] = {
      [](Rig& r) { r.w.Version_Check_Click(); },
      [](Rig& r) { r.AcceptVersion(), r.StartSingle("VER?"); },
      [](Rig& r) { r.AcceptVersion(), r.StartContinue("10"), r.Tick(), r.Reply("99.5%\r\n"); },
      // After a run that ended in phase 2 a settings command is no poll: it
      // must not vanish in the silent retry.
      [](Rig& r) {
        r.AcceptVersion(), r.StartContinue("10"), r.g.PollPhase = 2;
        r.w.HaltPolling(), r.w.EMail_Click();
      },
      // An error other than "not connected" is never retried.
      [](Rig& r) { r.AcceptVersion(), r.StartContinue("10"), r.socket.failWith = 10053; },
  };
  int row = 0;
  for (const auto& prepare : rows) {
    Rig r;
    prepare(r);
    if (r.socket.failWith == 0) r.socket.connected = r.socket.connectsImmediately = false;
    r.Tick();
    EXPECT_EQ(r.messages.shown, Texts{"Can't connected !"}) << row;
    EXPECT_FALSE(r.timer1.enabled) << row;
    EXPECT_EQ(r.socket.calls.back(), "close") << row;
    EXPECT_EQ(r.g.ContinuousRun, 0) << row++;
  }
}

TEST(Link, AHaltEnablesStartOnlyOnceAVersionIsAccepted) {
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
