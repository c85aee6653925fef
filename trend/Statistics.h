// Figures of a stretch of time, as the window shows them for the stretch on
// screen and --stats prints them: first and last record, how many, the
// lowest, mean, highest and standard deviation of purity and temperature, and
// the time below the alarm level with the number of separate stretches below
// it (as the chart shades them). A missing value counts as a record but not
// as a value. Sums are kept in whole hundredths, exactly as the records hold
// their values, so the figures do not depend on the order the records come
// in, and a followed log adds only its new records.
#pragma once

#include <climits>
#include <cmath>
#include <optional>
#include <string>

#include "trend/AlarmStretches.h"

namespace zrv::trend {

struct FieldFigures {
  std::size_t values = 0;
  // NaN without values; the standard deviation is the sample one (n - 1, as
  // a spreadsheet's STDEV), NaN for fewer than two values.
  double min = NAN, mean = NAN, max = NAN, sampleSd = NAN;
};

struct StretchFigures {
  std::size_t records = 0;
  UtcSeconds first = 0, last = 0;                  // the earliest and the latest record
  double lastPurity = NAN, lastTemperature = NAN;  // of the latest record
  FieldFigures purity, temperature;
  UtcSeconds belowTime = 0;
  std::size_t belowStretches = 0;
};

class StretchStatistics {
 public:
  // Of every record, or of those within `range`, its ends included.
  StretchStatistics(std::optional<TimeRange> range, double level) : range_(range), below_(level) {}

  // Takes the records added to `content` since the last call; a content with
  // fewer records than taken is another one and is taken from the start.
  void Update(const LogContent& content);
  StretchFigures Figures() const;
  const std::optional<TimeRange>& Range() const { return range_; }
  double Level() const { return below_.Level(); }

 private:
  struct Sums {
    std::size_t n = 0;
    long long sum = 0, squares = 0;  // of hundredths
    int low = INT_MAX, high = INT_MIN;
    void Add(double value);
    FieldFigures Figures() const;
  };
  void Add(const Record& r);

  std::optional<TimeRange> range_;
  BelowLevel below_;
  Sums purity_, temperature_;
  StretchFigures counts_;
  std::size_t next_ = 0;
};

// One "name=value" line per figure, for scripts: times in ISO 8601 with their
// UTC offset (as in the CSV), values to six places, "nan" for none.
std::string ScriptFigures(const StretchFigures& figures, double level);

}  // namespace zrv::trend
