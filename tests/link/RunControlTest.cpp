// start, stop and the mode buttons.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(RunControl, ContinueStartPreparesThePollCycle) {
  struct Case {
    const char* interval;
    std::int32_t seconds;
    std::int16_t shortInterval;
  };
  for (const Case& c : {Case{"1", 1, -1}, Case{"9", 9, -1}, Case{"10", 10, 0}, Case{"0", 10000, 0},
                        Case{"9999", 9999, 0}}) {
    Rig r;
    r.AcceptVersion();
    r.g.AlarmActive = -1;
    r.StartContinue(c.interval, "75");
    const SvGlobal01B& g = r.g;
    EXPECT_EQ(g.IntervalSeconds, c.seconds) << c.interval;
    EXPECT_EQ(g.TickCount, c.seconds * 5) << c.interval;
    EXPECT_EQ(g.ShortInterval, c.shortInterval) << c.interval;
    EXPECT_EQ(g.AlarmLevel, 75);
    EXPECT_EQ(g.ContinuousRun, -1);
    EXPECT_EQ(g.MeasureMode, -1);
    EXPECT_EQ(g.SingleMode, 0);
    EXPECT_EQ(g.PollPhase, 0);
    EXPECT_EQ(g.AlarmActive, 0);
    EXPECT_EQ(g.BlinkState, -1);
    EXPECT_EQ(g.LogEnabled, -1);
    EXPECT_EQ(g.StopRequested, 0);
    EXPECT_EQ(g.PurityReceived, 0);
    EXPECT_EQ(g.LinkOpen, -1);
    EXPECT_FALSE(r.vm.start.enabled);
    EXPECT_TRUE(r.timer1.enabled);
    EXPECT_EQ(r.timer1.interval, 200);
    EXPECT_TRUE(r.messages.shown.empty());
  }
}

TEST(RunControl, SingleStartQueuesTheCommandAsTyped) {
  for (const std::string command : {"VER?", "", " THRESHOLD? ", "EMAIL OF"}) {
    Rig r;
    r.AcceptVersion();
    r.StartSingle(command);
    EXPECT_EQ(r.g.SingleMode, -1);
    EXPECT_EQ(r.g.MeasureMode, 0);
    EXPECT_EQ(r.g.SingleCommandPending, -1);
    EXPECT_EQ(r.g.PendingCommand, command + "\r\n");
    r.NewlySent();
    r.Tick();
    EXPECT_EQ(r.NewlySent(), std::vector<std::string>{command + "\r\n"});
  }
}

TEST(RunControl, SingleStartLeavesTheLogAlone) {
  WriteFileBytes("zrv-02.log", "old run\r\n");
  Rig r;
  r.AcceptVersion();
  r.StartSingle("VER?");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), "old run\r\n");
}

struct WrongEntry {
  const char* name;
  const char* interval;
  const char* level;
  const char* port;
  const char* logName;
};

TEST(RunControl, AWrongEntryGivesOneMessageAndKeepsTheOldLog) {
  std::filesystem::create_directory("a-directory");
  const WrongEntry cases[] = {
      {"empty interval", "", "80", "7777", "zrv-02.log"},
      {"letters in interval", "1x", "80", "7777", "zrv-02.log"},
      {"pasted negative interval", "-5", "80", "7777", "zrv-02.log"},
      {"empty alarm level", "10", "", "7777", "zrv-02.log"},
      {"alarm level too big", "10", "99999", "7777", "zrv-02.log"},
      {"port out of range", "10", "80", "99999", "zrv-02.log"},
      {"log in a missing directory", "10", "80", "7777", "missing/zrv-02.log"},
      {"log name is a directory", "10", "80", "7777", "a-directory"},
  };
  for (const WrongEntry& c : cases) {
    WriteFileBytes("zrv-02.log", "previous run\r\n");
    Rig r;
    r.AcceptVersion();
    r.vm.HostPTEdit.text = c.port;
    r.StartContinue(c.interval, c.level, c.logName);
    EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Wrong Parameter !"}) << c.name;
    EXPECT_EQ(r.socket.calls.back(), "close") << c.name;
    EXPECT_FALSE(r.timer1.enabled) << c.name;
    EXPECT_TRUE(r.vm.start.enabled) << c.name;
    EXPECT_EQ(r.g.ContinuousRun, 0) << c.name;
    EXPECT_EQ(r.g.LinkOpen, 0) << c.name;
    EXPECT_EQ(ReadFileBytes("zrv-02.log"), "previous run\r\n") << c.name;
  }
}

TEST(RunControl, TheConnectIsIssuedBeforeTheEntriesAreRead) {
  Rig r;
  r.AcceptVersion();
  r.socket.calls.clear();
  r.vm.HostIPEdit.text = "127.0.0.1";
  r.StartContinue("", "80");
  EXPECT_EQ(r.socket.calls,
            (std::vector<std::string>{"host 127.0.0.1", "port 7777", "connect", "close"}));
}

TEST(RunControl, StopOnlyRaisesTheRequest) {
  Rig r;
  r.AcceptVersion();
  r.StartSingle("VER?");
  const auto calls = r.socket.calls;
  r.w.stop_Click();
  EXPECT_EQ(r.g.StopRequested, -1);
  EXPECT_EQ(r.socket.calls, calls);
  EXPECT_TRUE(r.timer1.enabled);
  EXPECT_FALSE(r.vm.start.enabled);
}

TEST(RunControl, ModeButtonsSwitchOnlyTheirFields) {
  Rig r;
  r.w.Single_mode_Click();
  for (Control* c :
       {&r.vm.Txt_Interval, &r.vm.Txt_Alarm_level, &r.vm.Txt_Save_File, &r.vm.Drive1, &r.vm.Dir1}) {
    EXPECT_FALSE(c->enabled) << c->name;
  }
  EXPECT_TRUE(r.vm.Txt_Command.enabled);
  r.w.Continue_mode_Click();
  for (Control* c :
       {&r.vm.Txt_Interval, &r.vm.Txt_Alarm_level, &r.vm.Txt_Save_File, &r.vm.Drive1, &r.vm.Dir1}) {
    EXPECT_TRUE(c->enabled) << c->name;
  }
  EXPECT_FALSE(r.vm.Txt_Command.enabled);
}

}  // namespace
}  // namespace zrv::test
