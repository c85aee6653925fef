// Reduces a week of records to what a chart's pixel columns can show. The
// visible time range is cut into columns; each column keeps only its lowest
// and its highest value, in time order, so every dip and peak stays drawn
// however far the view is zoomed out.
#pragma once

#include <vector>

#include "trend/LogReader.h"

namespace zrv::trend {

struct TimeRange {
  CivilSeconds from;
  CivilSeconds to;
};

struct Point {
  CivilSeconds time;
  double value;
};

// The extremes of `field` per column of `range`, plus the nearest record on
// either side of it so the line runs on to the plot's edges. Records whose
// value is missing are left out.
std::vector<Point> DecimateMinMax(const std::vector<Record>& records, double Record::*field,
                                  TimeRange range, int columns);

// At most one time per column (its first), for markers.
std::vector<CivilSeconds> DecimateTimes(const std::vector<CivilSeconds>& times, TimeRange range,
                                        int columns);

}  // namespace zrv::trend
