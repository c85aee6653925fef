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

TEST(Link, Scripts) {
  std::filesystem::create_directory("a-directory");
  const std::pair<const char*, const char*> rows[] = {
      // A wrong entry: one message, the link closed again, the old log kept.
      {"Txt_Interval= start t ?start ?log",
       "connect close !Wrong Parameter ! start=start log=old\r\n"},
      {"Txt_Interval=1x start t", "connect close !Wrong Parameter !"},
      {"Txt_Interval=-5 start t", "connect close !Wrong Parameter !"},
      {"Txt_Alarm_level= start t", "connect close !Wrong Parameter !"},
      {"Txt_Alarm_level=99999 start t", "connect close !Wrong Parameter !"},
      {"HostPTEdit=99999 start t ?start", "close !Wrong Parameter ! start=start"},
      {"Txt_Save_File=missing/x.log start t ?log", "connect close !Wrong Parameter ! log=old\r\n"},
      {"Txt_Save_File=a-directory start t", "connect close !Wrong Parameter !"},
      // Any failed send but the purity query's is reported at once.
      {"offline single t ?start", "connect @1 close !Can't connected ! start=start"},
      {"start t <99.5% offline t t ?start",
       "connect @1 PURITY? @2 close !Can't connected ! start=start"},
      // stop only raises the request; the mode buttons switch their fields.
      {"single stop ?start t <x t ?start", "connect start=start off @1 VER? @2 close start=start"},
      // A Single command goes out once, exactly as typed.
      {"Txt_Command=~THRESHOLD?~ single t <x t", "connect @1  THRESHOLD?  @2 close"},
      {"Txt_Command=EMAIL~OF single t", "connect @1 EMAIL OF"},
      {"Single_mode ?Txt_Command ?Txt_Alarm_level ?Drive1 Continue_mode ?Txt_Command "
       "?Txt_Save_File",
       "Txt_Command=VER? Txt_Alarm_level=80 off Drive1=/ off Txt_Command=VER? off "
       "Txt_Save_File=zrv-02.log"},
  };
  for (const auto& [script, wire] : rows) {
    WriteFileBytes("zrv-02.log", "old\r\n");
    Rig r;
    r.Run("check t <1.10 t");
    EXPECT_EQ(r.Run(script), wire) << script;
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
  // The run ended in phase 2; a switch command after it is no poll and must
  // not vanish in the silent retry.
  EXPECT_EQ(r.Run("email t"), "connect @1 close !Can't connected !");
}

TEST(Link, AnErrorOtherThanNotConnectedIsNeverRetried) {
  Rig r;
  r.AcceptVersion();
  r.StartContinue("10");
  r.socket.failWith = 10053;
  EXPECT_EQ(r.Run("t t"), "@1 close !Can't connected !");
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
