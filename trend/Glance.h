// The current state in a few words, for the large readout beside the chart:
// the latest values as logged, how long ago the latest record came (overdue
// once several intervals passed without one) and whether purity is below the
// alarm level.
#pragma once

#include <string>

#include "trend/LogReader.h"

namespace zrv::trend {

struct Glance {
  enum class Level { kUnknown, kAtOrAbove, kBelow };
  bool any = false;  // a record to show
  std::string purity, temperature, age;
  Level level = Level::kUnknown;
  bool overdue = false;
  bool ahead = false;  // stamped later than this clock: the age is how far ahead
};

// "now" is the true time of the workstation's clock.
Glance AtAGlance(const LogContent& content, double alarmLevel, UtcSeconds now);

// "45 s", "12 min 5 s", "3 h 20 min", "2 d 4 h"; never negative.
std::string AgeText(UtcSeconds seconds);

}  // namespace zrv::trend
