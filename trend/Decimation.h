// Reduces a year of records to what a chart's pixel columns can show. The
// visible time range is cut into columns; each column keeps only its lowest
// and its highest value, in time order, so every dip and peak stays drawn
// however far the view is zoomed out. The records are taken in file order:
// where the clock was set back, or where no record came for longer than a gap
// (and a column), the line ends and a new one begins, so nothing is drawn that
// was not measured.
#pragma once

#include <vector>

#include "trend/LogReader.h"

namespace zrv::trend {

// A stretch without records longer than this many intervals is a gap; the
// latest record is overdue after as long.
constexpr int kMissedIntervals = 5;

struct TimeRange {
  UtcSeconds from;
  UtcSeconds to;
  bool operator==(const TimeRange&) const = default;
};

struct Point {
  UtcSeconds time;
  double value;
  bool operator==(const Point&) const = default;
};
using Line = std::vector<Point>;

// The lines of `field` across `range`, plus the nearest record on either side
// so a line runs on to the plot's edges. Records whose value is missing are
// left out.
std::vector<Line> DecimateLines(const LogContent& content, Field field, TimeRange range,
                                int columns, UtcSeconds gap);

// At most one time per column (its first), for markers.
std::vector<UtcSeconds> DecimateTimes(const std::vector<UtcSeconds>& times, TimeRange range,
                                      int columns);

}  // namespace zrv::trend
