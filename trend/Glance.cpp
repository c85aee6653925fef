#include "trend/Glance.h"

#include <cmath>

#include "trend/Decimation.h"

namespace zrv::trend {

std::string AgeText(UtcSeconds s) {
  s = std::max<UtcSeconds>(s, 0);
  const auto two = [](UtcSeconds a, const char* unitA, UtcSeconds b, const char* unitB) {
    return std::to_string(a) + ' ' + unitA + (b ? ' ' + std::to_string(b) + ' ' + unitB : "");
  };
  if (s < kMinute) return std::to_string(s) + " s";
  if (s < kHour) return two(s / kMinute, "min", s % kMinute, "s");
  if (s < kDay) return two(s / kHour, "h", s % kHour / kMinute, "min");
  return two(s / kDay, "d", s % kDay / kHour, "h");
}

Glance AtAGlance(const LogContent& content, double alarmLevel, UtcSeconds now) {
  Glance g;
  if (content.records.empty()) return g;
  const Record& last = content.records.back();
  g.any = true;
  g.purity = content.lastPurity.empty() ? "no value" : content.lastPurity;
  g.temperature = content.lastTemperature.empty() ? "no value" : content.lastTemperature;
  g.ahead = last.Time() > now;
  g.age = AgeText(g.ahead ? last.Time() - now : now - last.Time());
  // Without a known interval a minute stands in for it.
  const UtcSeconds interval = content.Interval() ? content.Interval() : kMinute;
  g.overdue = now - last.Time() > kMissedIntervals * interval;
  if (!std::isnan(last.Purity()))
    g.level = last.Purity() < alarmLevel ? Glance::Level::kBelow : Glance::Level::kAtOrAbove;
  return g;
}

}  // namespace zrv::trend
