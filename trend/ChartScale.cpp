#include "trend/ChartScale.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace zrv::trend {
namespace {

namespace ch = std::chrono;

// The mean Gregorian month: the days of 400 years over their 4800 months.
constexpr UtcSeconds kMeanMonth = 146097 * kDay / 4800;

// Calendar steps: whole seconds below a week, whole months above.
struct Step {
  UtcSeconds seconds;
  int months;
  UtcSeconds Length() const { return months ? months * kMeanMonth : seconds; }
};
// clang-format off
constexpr Step kSteps[] = {
    {1, 0}, {2, 0}, {5, 0}, {10, 0}, {15, 0}, {30, 0},
    {kMinute, 0}, {2 * kMinute, 0}, {5 * kMinute, 0}, {10 * kMinute, 0}, {15 * kMinute, 0},
    {30 * kMinute, 0},
    {kHour, 0}, {2 * kHour, 0}, {3 * kHour, 0}, {6 * kHour, 0}, {12 * kHour, 0},
    {kDay, 0}, {2 * kDay, 0}, {7 * kDay, 0},
    {0, 1}, {0, 3}, {0, 6}, {0, 12}, {0, 24}, {0, 60}, {0, 120}};
// clang-format on

UtcSeconds FloorDiv(UtcSeconds a, UtcSeconds b) {
  return a / b - (a % b < 0);
}

ch::year_month_day Date(CivilSeconds t) {
  return ch::year_month_day{ch::sys_days{ch::days{FloorDiv(t, kDay)}}};
}

CivilSeconds Midnight(ch::year_month_day ymd) {
  return ch::sys_days{ymd}.time_since_epoch().count() * kDay;
}

// The first calendar tick of `step` at or after `t`, and the one after a tick.
CivilSeconds FirstTick(CivilSeconds t, Step step) {
  if (!step.months) {
    // Weeks begin on Monday; 1970/01/01 was a Thursday.
    const UtcSeconds shift = step.seconds == 7 * kDay ? 4 * kDay : 0;
    return -FloorDiv(-(t - shift), step.seconds) * step.seconds + shift;
  }
  const ch::year_month_day ymd = Date(t);
  int months = int(ymd.year()) * 12 + int(unsigned(ymd.month())) - 1;
  if (Midnight(ymd.year() / ymd.month() / 1) < t) ++months;
  months = -static_cast<int>(FloorDiv(-months, step.months)) * step.months;
  return Midnight(ch::year{months / 12} / ch::month{unsigned(months % 12 + 1)} / 1);
}

CivilSeconds NextTick(CivilSeconds t, Step step) {
  if (!step.months) return t + step.seconds;
  const ch::year_month_day ymd = Date(t);
  return Midnight(ymd.year() / ymd.month() / 1 + ch::months{step.months});
}

std::string Printf(const char* format, int a, int b, int c = 0) {
  char out[32];
  std::snprintf(out, sizeof out, format, a, b, c);
  return out;
}

}  // namespace

ValueScale RoundScale(double low, double high, int maxTicks) {
  const int intervals = std::max(maxTicks - 1, 1);
  const double span = std::max(high - low, 1e-9);
  double magnitude = std::pow(10.0, std::floor(std::log10(span / intervals)));
  for (;; magnitude *= 10)
    for (const double m : {1.0, 2.0, 5.0}) {
      const double step = m * magnitude;
      // A hair of tolerance so 100 / 0.2 is not taken as just over 500.
      const double from = std::floor(low / step + 1e-9) * step,
                   to = std::ceil(high / step - 1e-9) * step;
      if ((to - from) / step <= intervals + 1e-9) return {from, to, step};
    }
}

// A line along the plot's edge is hard to see: a little room above and below.
constexpr double kHeadroom = 0.03;

ValueScale PurityScale(const Extent& data, double level, int maxTicks) {
  if (!data.any) return RoundScale(std::min(0.0, level), std::max(100.0, level), maxTicks);
  double low = std::min(data.low, level), high = std::max(data.high, level);
  if (high - low < kPurityMinSpan) low = high - kPurityMinSpan;
  const double room = (high - low) * kHeadroom;
  ValueScale scale = RoundScale(low - room, high + room, maxTicks);
  scale.high = std::min(scale.high, std::max(high, 100.0));
  return scale;
}

ValueScale TemperatureScale(const Extent& data, int maxTicks) {
  if (!data.any) return RoundScale(0, 50, maxTicks);
  const double middle = (data.low + data.high) / 2,
               half =
                   std::max((data.high - data.low) * (1 + 2 * kHeadroom), kTemperatureMinSpan) / 2;
  return RoundScale(middle - half, middle + half, maxTicks);
}

std::vector<TimeTick> TimeTicks(TimeRange range, int maxTicks) {
  const UtcSeconds span = range.to - range.from;
  Step step = kSteps[std::size(kSteps) - 1];
  for (const Step s : kSteps)
    if (span / s.Length() + 1 <= std::max(maxTicks, 2)) {
      step = s;
      break;
    }
  // Calendar times first, in true-time order: in the repeated hour the
  // wall-clock ticks come twice, and the second pass lies after the first.
  std::vector<std::pair<UtcSeconds, CivilSeconds>> at;
  const CivilSeconds end = ToCivil(range.to) + kDay;  // beyond any offset change
  for (CivilSeconds t = FirstTick(ToCivil(range.from) - kDay, step); t <= end;
       t = NextTick(t, step))
    for (const UtcSeconds u : UtcCandidates(t))
      if (u >= range.from && u <= range.to && ToCivil(u) == t) at.emplace_back(u, t);
  std::sort(at.begin(), at.end());

  std::vector<TimeTick> ticks;
  ch::year_month_day previous{};
  std::int64_t previousOffset = 0;
  for (const auto& [u, t] : at) {
    const ch::year_month_day ymd = Date(t);
    const int y = int(ymd.year()), mo = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
    const bool newYear = ticks.empty() || ymd.year() != previous.year();
    const bool newDay = newYear || ymd != previous;
    TimeTick tick{u, "", ""};
    const UtcSeconds inDay = t - FloorDiv(t, kDay) * kDay;
    if (step.months) {
      tick.time = Printf("%04d/%02d", y, mo);
    } else if (step.seconds >= kDay) {
      tick.time = Printf("%02d/%02d", mo, d);
      if (newYear) tick.date = Printf("%04d", y, 0);
    } else {
      const int hour = int(inDay / kHour), minute = int(inDay % kHour / kMinute);
      tick.time = step.seconds < kMinute
                      ? Printf("%02d:%02d:%02d", hour, minute, int(inDay % kMinute))
                      : Printf("%02d:%02d", hour, minute);
      if (newYear)
        tick.date = Printf("%04d/%02d/%02d", y, mo, d);
      else if (newDay)
        tick.date = Printf("%02d/%02d", mo, d);
    }
    // Where the clock was changed (the repeated hour), the new offset.
    const std::int64_t offset = t - u;
    if (!ticks.empty() && offset != previousOffset)
      tick.date += (tick.date.empty() ? "UTC" : " UTC") + FormatOffset(offset);
    ticks.push_back(tick);
    previous = ymd;
    previousOffset = offset;
  }
  return ticks;
}

}  // namespace zrv::trend
