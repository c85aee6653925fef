// The current state in a few words, for the large readout beside the chart:
// the latest values as logged, how long ago the latest record came (overdue
// once several intervals passed without one) and whether purity is below the
// alarm level. Old data never looks current: once the latest record is
// overdue, or the log is a finished run's, the level box says how long no
// record came and only then what the last state was, in grey.
#pragma once

#include <string>
#include <string_view>

#include "trend/LogReader.h"

namespace zrv::trend {

enum class Tone { kNormal, kGood, kBelow, kOverdue, kQuiet };

// One box of the readout: a headline in large type over a caption.
struct ReadoutBox {
  std::string headline, caption;
  Tone tone = Tone::kQuiet;
  bool operator==(const ReadoutBox&) const = default;
};

struct Glance {
  ReadoutBox purity, temperature, age, level;
};

// "now" is the true time of the workstation's clock; a finished log is one
// no longer written, whose last record is no news however old.
Glance AtAGlance(const LogContent& content, double alarmLevel, UtcSeconds now, bool finished);

// Whether a file name is one the controller gives the last run's log when a
// new start moves it aside: "<name>_<yyyymmdd-hhnnss><extension>", or with
// "-2", "-3", ... after the time where that name was taken.
bool IsKeptRunName(std::string_view fileName);

// "45 s", "12 min 5 s", "3 h 20 min", "2 d 4 h"; never negative.
std::string AgeText(UtcSeconds seconds);

}  // namespace zrv::trend
