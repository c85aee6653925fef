// A week of a 1 s Continue run in minutes: 604,800 intervals of five ticks
// through the core, an instrument double that answers over the fake socket,
// a clock that follows the ticks, and the real log file. Every so often an
// interval goes wrong: a late temperature reply, a late purity reply, an
// e-mail alarm notice between the two replies of a pair, and (rarely) an
// instrument that stays silent for one reply time-out.
//
// Prints pairs answered against pair lines logged (they must be equal),
// notices against notice lines, and resident memory at start, midweek and end.
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <string>
#include <utility>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

constexpr long kIntervals = 604'800;
constexpr long kTicks = kIntervals * 5;
constexpr long kFaultEvery = 997;       // pairs between ordinary faults
constexpr long kSilentEvery = 151'200;  // pairs between silent time-outs: four a week

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(256, '\n');
  }
  return -1;
}

std::string StampAt(long tick) {
  using namespace std::chrono;
  const sys_seconds t = sys_days{year{2026} / December / 7} + seconds{tick / 5};
  const auto day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss hms{t - day};
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02u/%02u %02ld:%02ld:%02ld", int(ymd.year()),
                unsigned(ymd.month()), unsigned(ymd.day()), long(hms.hours().count()),
                long(hms.minutes().count()), long(hms.seconds().count()));
  return text;
}

int Run() {
  Rig rig;
  rig.Run("HostIPEdit=127.0.0.1 check t <1.10 t Txt_Interval=1 Txt_Save_File=week.log start");
  const long rssStart = ResidentKiB();
  std::printf("RSS at start: %ld KiB\n", rssStart);

  std::deque<std::pair<long, std::string>> replies;  // due tick, bytes
  long purityQueries = 0, pairsAnswered = 0, notices = 0, silentTimeouts = 0;
  long tick = 0;
  for (; tick < kTicks && rig.timer1.enabled; ++tick) {
    rig.clock.stamp = StampAt(tick);
    rig.w.Timer1_Timer();
    for (const std::string& call : rig.socket.calls) {
      const long fault =
          purityQueries % kFaultEvery == kFaultEvery - 1 ? purityQueries / kFaultEvery % 3 : -1;
      if (call == "send PURITY?\r\n") {
        ++purityQueries;
        if (purityQueries % kSilentEvery == 0) {
          ++silentTimeouts;  // this query goes unanswered
          continue;
        }
        replies.emplace_back(tick + (fault == 0 ? 3 : 0), "99.9%\r\n");
        if (fault == 1) {
          replies.emplace_back(tick, "E-MAIL ALARM\r\n");
          ++notices;
        }
      } else if (call == "send TEMP?\r\n") {
        replies.emplace_back(tick + (fault == 2 ? 7 : 0), "25.3DEG\r\n");
      }
    }
    rig.socket.calls.clear();
    while (!replies.empty() && replies.front().first <= tick) {
      if (replies.front().second == "25.3DEG\r\n") ++pairsAnswered;
      rig.Reply(replies.front().second);
      replies.pop_front();
    }
    if (tick == kTicks / 2) std::printf("RSS midweek: %ld KiB\n", ResidentKiB());
  }
  const long rssEnd = ResidentKiB();

  std::ifstream log("week.log", std::ios::binary);
  long pairLines = 0, noticeLines = 0, otherLines = 0;
  for (std::string line; std::getline(log, line);) {
    if (line.ends_with(" %&DEG\r")) {
      ++pairLines;
    } else if (line.ends_with(" E-MAIL ALARM\r")) {
      ++noticeLines;
    } else {
      ++otherLines;
    }
  }
  std::printf("ticks run: %ld of %ld (%s)\n", tick, kTicks,
              rig.timer1.enabled ? "run still going" : "run ended");
  std::printf("PURITY? sent: %ld, silent time-outs: %ld, NoReplyCount now %d\n", purityQueries,
              silentTimeouts, rig.g.NoReplyCount);
  std::printf("pairs answered: %ld, pair lines logged: %ld\n", pairsAnswered, pairLines);
  std::printf("notices sent: %ld, notice lines logged: %ld, other lines: %ld\n", notices,
              noticeLines, otherLines);
  std::printf("messages shown: %zu\n", rig.messages.shown.size());
  std::printf("RSS at end: %ld KiB (%+ld KiB)\n", rssEnd, rssEnd - rssStart);
  const bool ok = pairLines == pairsAnswered && noticeLines == notices && otherLines == 0 &&
                  rig.timer1.enabled && rig.messages.shown.empty();
  std::printf("%s\n", ok ? "OK: one line per answered pair and per notice" : "FAILED");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace zrv::test

int main() {
  zrv::test::EnterTempWorkDir();
  return zrv::test::Run();
}
