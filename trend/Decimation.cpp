#include "trend/Decimation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zrv::trend {
namespace {

// Column of a time inside the range: (time - from) * columns / span, rounded
// down. Estimated in floating point and corrected exactly, since an integer
// division per block is most of what a redraw of a long log costs.
int ColumnOf(UtcSeconds time, TimeRange range, int columns) {
  const UtcSeconds span = std::max<UtcSeconds>(range.to - range.from, 1);
  const UtcSeconds scaled = (time - range.from) * columns;
  auto column = static_cast<UtcSeconds>(static_cast<double>(scaled) / static_cast<double>(span));
  if ((column + 1) * span <= scaled) ++column;
  if (column * span > scaled) --column;
  return static_cast<int>(std::clamp<UtcSeconds>(column, 0, columns - 1));
}

// Builds the lines of one run of records in rising time.
class RunDecimator {
 public:
  RunDecimator(const std::vector<Record>& records, Field field, TimeRange range, int columns,
               UtcSeconds gap, std::vector<Line>& lines)
      : records_(records),
        field_(field),
        range_(range),
        columns_(columns),
        gap_(gap),
        lines_(lines) {}

  // One record, taken on its own.
  void Take(std::size_t i) {
    if (std::isnan(Value(i))) return;
    const int column = ColumnOf(records_[i].Time(), range_, columns_);
    Start(records_[i].Time(), column);
    if (low_ == kNone || Value(i) < Value(low_)) low_ = i;
    if (high_ == kNone || Value(i) > Value(high_)) high_ = i;
    last_ = records_[i].Time();
  }

  // A whole block that falls in one column, by its extremes.
  void TakeBlock(std::size_t first, std::size_t size, std::size_t low, std::size_t high) {
    if (low == UINT32_MAX) return;
    const std::size_t lastOfBlock = first + size - 1;
    Start(records_[first].Time(), ColumnOf(records_[first].Time(), range_, columns_));
    if (low_ == kNone || Value(low) < Value(low_)) low_ = low;
    if (high_ == kNone || Value(high) > Value(high_)) high_ = high;
    last_ = records_[lastOfBlock].Time();
  }

  // A record outside the range that the line runs on to.
  void TakeEdge(std::size_t i) {
    Flush();
    Start(records_[i].Time(), -1);
    Point p{records_[i].Time(), Value(i)};
    lines_.back().push_back(p);
    last_ = p.time;
  }

  void Flush() {
    if (low_ == kNone) return;
    const std::size_t a = std::min(low_, high_), b = std::max(low_, high_);
    lines_.back().push_back({records_[a].Time(), Value(a)});
    if (b != a) lines_.back().push_back({records_[b].Time(), Value(b)});
    low_ = high_ = kNone;
  }

  void Finish() {
    Flush();
    if (open_ && lines_.back().empty()) lines_.pop_back();
  }

 private:
  static constexpr std::size_t kNone = SIZE_MAX;

  double Value(std::size_t i) const {
    return field_ == &Record::Purity ? records_[i].Purity() : records_[i].Temperature();
  }

  // Called before a record at `time` joins `column`: ends the column before
  // it, and the line where the records are a gap apart.
  void Start(UtcSeconds time, int column) {
    if (column != column_) Flush();
    const bool gap = open_ && time - last_ > gap_;
    if (!open_ || gap) {
      Flush();
      if (open_ && lines_.back().empty()) lines_.pop_back();
      lines_.emplace_back();
      open_ = true;
    }
    column_ = column;
  }

  const std::vector<Record>& records_;
  Field field_;
  TimeRange range_;
  int columns_;
  UtcSeconds gap_;
  std::vector<Line>& lines_;
  bool open_ = false;
  int column_ = -1;
  UtcSeconds last_ = 0;
  std::size_t low_ = kNone, high_ = kNone;
};

}  // namespace

std::vector<Line> DecimateLines(const LogContent& content, Field field, TimeRange range,
                                int columns, UtcSeconds gap) {
  columns = std::max(columns, 1);
  const auto& records = content.records;
  // A gap narrower than a column would not show: the line goes on.
  const UtcSeconds columnWidth = (range.to - range.from + columns - 1) / columns;
  gap = std::max(gap, columnWidth);
  const auto byTime = [](const Record& r, UtcSeconds t) { return r.Time() < t; };
  const auto hasValue = [&](std::size_t i) { return !std::isnan((records[i].*field)()); };
  constexpr std::size_t kBlock = LogContent::kBlock, kSmallBlock = LogContent::kSmallBlock;
  const int fieldIndex = field == &Record::Purity ? 0 : 2;

  std::vector<Line> lines;
  for (std::size_t run = 0; run < content.runs.size(); ++run) {
    const std::size_t begin = content.runs[run],
                      end = run + 1 < content.runs.size() ? content.runs[run + 1] : records.size();
    const auto first = records.begin();
    std::size_t lo = std::lower_bound(first + begin, first + end, range.from, byTime) - first;
    const std::size_t hi = std::lower_bound(first + lo, first + end, range.to + 1, byTime) - first;
    RunDecimator runLines(records, field, range, columns, gap, lines);
    for (std::size_t i = lo; i-- > begin;)
      if (hasValue(i)) {
        runLines.TakeEdge(i);
        break;
      }
    // A whole block of `size` at i, if it lies in one column.
    const auto inOneColumn = [&](std::size_t i, std::size_t size) {
      return i % size == 0 && i + size <= hi &&
             ColumnOf(records[i].Time(), range, columns) ==
                 ColumnOf(records[i + size - 1].Time(), range, columns);
    };
    for (std::size_t i = lo; i < hi;) {
      const bool large = inOneColumn(i, kBlock);
      if (large || inOneColumn(i, kSmallBlock)) {
        const std::size_t size = large ? kBlock : kSmallBlock;
        const auto& index = (large ? content.blocks : content.smallBlocks)[i / size].index;
        runLines.TakeBlock(i, size, index[fieldIndex], index[fieldIndex + 1]);
        i += size;
      } else {
        runLines.Take(i++);
      }
    }
    for (std::size_t i = hi; i < end; ++i)
      if (hasValue(i)) {
        runLines.TakeEdge(i);
        break;
      }
    runLines.Finish();
  }
  // An edge record cut off by a gap leads nowhere.
  std::erase_if(lines, [&](const Line& line) {
    return std::none_of(line.begin(), line.end(),
                        [&](const Point& p) { return p.time >= range.from && p.time <= range.to; });
  });
  return lines;
}

std::vector<UtcSeconds> DecimateTimes(const std::vector<UtcSeconds>& times, TimeRange range,
                                      int columns) {
  columns = std::max(columns, 1);
  std::vector<std::optional<UtcSeconds>> column(static_cast<std::size_t>(columns));
  for (UtcSeconds t : times) {
    if (t < range.from || t > range.to) continue;
    auto& c = column[static_cast<std::size_t>(ColumnOf(t, range, columns))];
    if (!c || t < *c) c = t;
  }
  std::vector<UtcSeconds> kept;
  for (const auto& c : column)
    if (c) kept.push_back(*c);
  return kept;
}

}  // namespace zrv::trend
