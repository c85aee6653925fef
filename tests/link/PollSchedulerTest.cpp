// Timer1's tick, tick for tick: which command goes out when, how long a
// reply is waited for, and when the link is closed, reopened and let go.
#include <gtest/gtest.h>

#include <map>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

constexpr int kNever = -1;

struct Row {
  const char* interval;
  // Per query, in order: ticks until its reply arrives (0: before the next
  // tick; kNever: not at all). Queries past the end are answered at once.
  std::vector<int> late;
  int stopAfter;  // stop is clicked after this tick (0: never)
  int ticks;
  const char* wire;  // as Rig::Run tells it
};

// Runs Timer1 while it is enabled, for at most `row.ticks` ticks, with an
// instrument that answers as `row.late` says.
std::string Drive(Rig& r, const Row& row) {
  std::string wire;
  std::multimap<int, std::string> due;
  std::size_t query = 0;
  for (int tick = 1; tick <= row.ticks && r.timer1.enabled; ++tick) {
    const std::string now = r.Run("t");
    if (!now.empty()) wire += (wire.empty() ? "@" : " @") + std::to_string(tick) + now.substr(2);
    for (const char* command : {"PURITY?", "TEMP?"}) {
      if (now.find(command) == std::string::npos) continue;
      const int late = query < row.late.size() ? row.late[query] : 0;
      ++query;
      if (late != kNever) due.emplace(tick + late, command[0] == 'T' ? "25.3DEG\r\n" : "99.5%\r\n");
    }
    for (auto it = due.begin(); it != due.end() && it->first <= tick; it = due.erase(it)) {
      r.Reply(it->second);
    }
    if (tick == row.stopAfter) r.w.stop_Click();
  }
  return wire;
}

TEST(PollScheduler, TickTable) {
  const Row rows[] = {
      // Up to 9 s the link stays open between pairs; from 10 s it is closed
      // after each pair and reopened one tick before the next.
      {"1", {}, 0, 11, "@1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? @11 PURITY?"},
      {"9", {}, 0, 47, "@1 PURITY? @2 TEMP? @46 PURITY? @47 TEMP?"},
      {"10", {}, 0, 52, "@1 PURITY? @2 TEMP? @3 close @50 connect @51 PURITY? @52 TEMP?"},
      // A reply is waited for 24 ticks; the 25th abandons the pair and the
      // next tick starts it again. Waiting ticks do not advance the interval.
      {"1", {24}, 0, 26, "@1 PURITY? @26 TEMP?"},
      {"1", {kNever}, 0, 27, "@1 PURITY? @27 PURITY?"},
      // The next pair waits for the temperature reply of the previous one.
      {"1", {0, kNever}, 0, 31, "@1 PURITY? @2 TEMP? @31 PURITY?"},
      {"1", {0, 8, kNever}, 0, 37, "@1 PURITY? @2 TEMP? @11 PURITY? @37 PURITY?"},
      // The fifth time-out of a run ends it, good pairs between or not.
      {"1",
       {kNever, 0, 0, kNever, 0, 0, kNever, 0, 0, kNever, 0, 0, kNever},
       0,
       200,
       "@1 PURITY? @27 PURITY? @28 TEMP? @32 PURITY? @58 PURITY? @59 TEMP? @63 PURITY? @89 PURITY? "
       "@90 TEMP? @94 PURITY? @120 PURITY? @121 TEMP? @125 PURITY? @150 close !no response from "
       "the "
       "host !"},
      // stop is honoured with the next TEMP? or between pairs of a long
      // interval; the tick after that lets the link go.
      {"60", {}, 10, 20, "@1 PURITY? @2 TEMP? @3 close @12 close"},
      {"60", {}, 1, 20, "@1 PURITY? @2 TEMP? @3 close"},
      {"1", {}, 3, 20, "@1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? @8 close"},
      {"1", {10}, 1, 20, "@1 PURITY? @12 TEMP? @13 close"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.wire);
    Rig r;
    r.AcceptVersion();
    r.StartContinue(row.interval);
    EXPECT_EQ(Drive(r, row), row.wire);
    EXPECT_EQ(r.vm.start.enabled, !r.timer1.enabled);
    if (!r.timer1.enabled) {
      EXPECT_EQ(r.g.ContinuousRun, 0);
      EXPECT_EQ(r.g.NoReplyCount, 0);
      EXPECT_EQ(r.vm.TCP_Condition.backColor, kWhite);
    }
  }
}

}  // namespace
}  // namespace zrv::test
