#include "trend/Decimation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zrv::trend {
namespace {

// Column of a time inside the range.
int ColumnOf(CivilSeconds time, TimeRange range, int columns) {
  const CivilSeconds span = std::max<CivilSeconds>(range.to - range.from, 1);
  return static_cast<int>(
      std::min<CivilSeconds>((time - range.from) * columns / span, columns - 1));
}

}  // namespace

std::vector<Point> DecimateMinMax(const std::vector<Record>& records, double Record::*field,
                                  TimeRange range, int columns) {
  columns = std::max(columns, 1);
  struct Column {
    const Record* low = nullptr;
    const Record* high = nullptr;
  };
  std::vector<Column> column(static_cast<std::size_t>(columns));
  const Record* before = nullptr;
  const Record* after = nullptr;
  for (const Record& r : records) {
    const double v = r.*field;
    if (std::isnan(v)) continue;
    if (r.time < range.from) {
      if (!before || r.time >= before->time) before = &r;
    } else if (r.time > range.to) {
      if (!after || r.time < after->time) after = &r;
    } else {
      Column& c = column[static_cast<std::size_t>(ColumnOf(r.time, range, columns))];
      if (!c.low || v < c.low->*field) c.low = &r;
      if (!c.high || v > c.high->*field) c.high = &r;
    }
  }

  std::vector<Point> points;
  points.reserve(column.size() * 2 + 2);
  const auto add = [&](const Record* r) { points.push_back({r->time, r->*field}); };
  if (before) add(before);
  for (const Column& c : column) {
    if (!c.low) continue;
    const Record* first = c.low->time <= c.high->time ? c.low : c.high;
    const Record* second = first == c.low ? c.high : c.low;
    add(first);
    if (second != first) add(second);
  }
  if (after) add(after);
  return points;
}

std::vector<CivilSeconds> DecimateTimes(const std::vector<CivilSeconds>& times, TimeRange range,
                                        int columns) {
  columns = std::max(columns, 1);
  std::vector<std::optional<CivilSeconds>> column(static_cast<std::size_t>(columns));
  for (CivilSeconds t : times) {
    if (t < range.from || t > range.to) continue;
    auto& c = column[static_cast<std::size_t>(ColumnOf(t, range, columns))];
    if (!c || t < *c) c = t;
  }
  std::vector<CivilSeconds> kept;
  for (const auto& c : column)
    if (c) kept.push_back(*c);
  return kept;
}

}  // namespace zrv::trend
