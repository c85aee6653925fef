#include "trend/AlarmStretches.h"

#include <algorithm>
#include <cmath>

namespace zrv::trend {

void BelowLevel::Update(const std::vector<Record>& records) {
  for (; next_ < records.size(); ++next_) Add(records[next_]);
}

void BelowLevel::Add(const Record& r) {
  if (below_ && r.Time() < stretches_.back().to) below_ = false;  // the clock went back
  if (std::isnan(r.Purity())) return;
  const bool low = r.Purity() < level_;
  if (low && !below_) stretches_.push_back({r.Time(), r.Time()});
  if (below_ || low) stretches_.back().to = r.Time();
  below_ = low;
}

UtcSeconds BelowLevel::Total() const {
  UtcSeconds sum = 0;
  for (const TimeRange& s : stretches_) sum += s.to - s.from;
  return sum;
}

std::vector<TimeRange> ShadeStretches(const std::vector<TimeRange>& stretches, TimeRange range,
                                      int columns) {
  const UtcSeconds column = std::max<UtcSeconds>((range.to - range.from) / std::max(columns, 1), 1);
  // Edges on whole columns from the range's start: a stretch that grows or
  // begins within a column already shaded changes nothing drawn.
  const auto down = [&](UtcSeconds t) { return t - (t - range.from) % column; };
  std::vector<TimeRange> shaded;
  for (TimeRange s : stretches) {
    if (s.to < range.from || s.from > range.to) continue;
    s.from = down(std::max(s.from, range.from));
    s.to = std::min(std::max(down(s.to + column - 1), s.from + column), range.to);
    if (!shaded.empty() && s.from - shaded.back().to < column)
      shaded.back().to = std::max(shaded.back().to, s.to);
    else
      shaded.push_back(s);
  }
  return shaded;
}

AlarmWatch::Events AlarmWatch::Update(const LogContent& content, double level) {
  Events events;
  for (; records_ < content.records.size(); ++records_) {
    const double purity = content.records[records_].Purity();
    if (std::isnan(purity) || (purity < level) == below_) continue;
    below_ = purity < level;
    if (learned_) ++(below_ ? events.fell : events.recovered);
  }
  if (learned_) events.emailAlarms = static_cast<int>(content.notices.size() - notices_);
  notices_ = content.notices.size();
  learned_ = true;
  return events;
}

void AlarmWatch::NewRun() {
  below_ = false;
  records_ = 0;
  notices_ = 0;
}

}  // namespace zrv::trend
