#include "monitoring/StateCopy.h"

#include <cstdio>
#include <ctime>

#include "core/SvZRV_02.h"

namespace zrv::monitoring {
namespace {

// The log's stamps, "yyyy/mm/dd hh:nn:ss", are the local clock's.
std::optional<double> SecondsSinceEpoch(const std::string& stamp) {
  std::tm civil{};
  char end = 0;
  if (std::sscanf(stamp.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c", &civil.tm_year, &civil.tm_mon,
                  &civil.tm_mday, &civil.tm_hour, &civil.tm_min, &civil.tm_sec, &end) != 6)
    return std::nullopt;
  civil.tm_year -= 1900;
  civil.tm_mon -= 1;
  civil.tm_isdst = -1;  // as the clock was then
  const std::time_t time = std::mktime(&civil);
  if (time == -1) return std::nullopt;
  return static_cast<double>(time);
}

}  // namespace

StateCopy CopyState(const SvZRV_02& core, const StateCopy& before, double now) {
  const SvGlobal01B& g = core.State();
  StateCopy copy;
  copy.seen = core.Counters();
  copy.recordTime = SecondsSinceEpoch(copy.seen.recordTime);
  copy.runActive = g.ContinuousRun == kTrue;
  copy.runStartTime = copy.runActive && !before.runActive ? now : before.runStartTime;
  copy.linkOpen = g.LinkOpen == kTrue;
  copy.purityAlarm = g.AlarmActive == kTrue;
  copy.recordsWaiting = !g.HeldRecords.empty();
  copy.alarmLevelPercent = g.AlarmLevel;
  copy.intervalSeconds = g.IntervalSeconds;
  if (!g.HostAddress.empty()) copy.address = g.HostAddress + ':' + std::to_string(g.HostPort);
  copy.runsStartedAgain = before.runsStartedAgain;
  return copy;
}

}  // namespace zrv::monitoring
