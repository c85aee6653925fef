// The chart's axes as an operator reads them: value ticks on round steps of
// the 1-2-5 series, and time ticks on the calendar (whole seconds, minutes,
// hours, days, Mondays, months, years of the local clock) with the date
// written wherever it changes and the year on the first tick and wherever it
// changes; where the clock's offset changes (summer time), the new offset.
#pragma once

#include <string>
#include <vector>

#include "trend/Decimation.h"

namespace zrv::trend {

// Noise of a tenth of a degree stays a tenth of this span.
constexpr double kTemperatureMinSpan = 5;  // DEG
constexpr double kPurityMinSpan = 1;       // %

struct ValueScale {
  double low, high, step;
  bool operator==(const ValueScale&) const = default;
};

// [low, high] widened to whole steps, at most `maxTicks` ticks.
ValueScale RoundScale(double low, double high, int maxTicks);
// The data and the alarm level, never past 100 % unless a value is.
ValueScale PurityScale(const Extent& data, double level, int maxTicks);
ValueScale TemperatureScale(const Extent& data, int maxTicks);

struct TimeTick {
  UtcSeconds at;
  std::string time;  // "hh:mm", "hh:mm:ss", "mm/dd" or "yyyy/mm"
  std::string date;  // where it changes: "mm/dd", "yyyy/mm/dd" or "yyyy"; else empty
  bool operator==(const TimeTick&) const = default;
};

std::vector<TimeTick> TimeTicks(TimeRange range, int maxTicks);

}  // namespace zrv::trend
