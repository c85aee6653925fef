// Reading the measurement log. Each line is a measurement pair
// "yyyy/mm/dd hh:nn:ss <purity> <temp> %&DEG" or a notice
// "yyyy/mm/dd hh:nn:ss E-MAIL ALARM", ended by CR LF (a CR or LF alone ends
// one too, see LineSplitter.h). The value texts are the
// instrument's replies cut short, so they may be empty or not numbers at all:
// such a pair is still a record, with the value missing. Any other line is
// counted as unreadable, never dropped unseen.
//
// A year of one-second records is 31.5 million of them, so a record keeps its
// time and values in 8 bytes; the exact value texts stay in the file, which
// the CSV export reads again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "trend/CivilTime.h"
#include "trend/LineSplitter.h"

namespace zrv::trend {

// The shortest measurement line, "yyyy/mm/dd hh:nn:ss 1 2 %&DEG" and its end.
constexpr std::size_t kShortestRecordBytes = 30;

// What the instrument can report; a number outside is a garbled reply and is
// counted as unreadable rather than drawn.
struct ValueLimits {
  double low, high;
};
constexpr ValueLimits kPurityLimits{-10, 110};        // %
constexpr ValueLimits kTemperatureLimits{-100, 300};  // DEG

class Record {
 public:
  // Values are kept to 0.01; NaN stands for a missing value.
  Record(UtcSeconds time, double purity, double temperature);

  UtcSeconds Time() const { return kEpoch + time_; }
  double Purity() const { return Value(purity_); }
  double Temperature() const { return Value(temperature_); }

  // The true times a record can hold: 1932 to 2068.
  static constexpr UtcSeconds kEpoch = 946684800;  // 2000/01/01 00:00:00 UTC
  static bool Holds(UtcSeconds time) { return time - kEpoch == std::int32_t(time - kEpoch); }

 private:
  static constexpr std::int16_t kNone = INT16_MIN;
  static double Value(std::int16_t v) {
    return v == kNone ? std::numeric_limits<double>::quiet_NaN() : v / 100.0;
  }

  std::int32_t time_;
  std::int16_t purity_;
  std::int16_t temperature_;
};

using Field = double (Record::*)() const;

// The pieces of one line, texts as logged, and the texts as numbers (NaN
// where a text is not one; out of the instrument's limits still as read).
struct LogLine {
  enum Kind { kRecord, kNotice, kUnreadable } kind = kUnreadable;
  CivilSeconds civil = 0;
  std::string_view purity, temperature;
  double purityValue = 0, temperatureValue = 0;
};

// One line without its end; one longer than kMaxLineBytes is unreadable
// whatever it holds. "<purity> <temp>": the texts may hold spaces themselves
// (a cut "Illegal Command!!"), so the split is the one at which most of the
// two read as numbers.
LogLine ParseLine(std::string_view line);

// Indices kept up to date as records are added, so a redraw of a followed log
// touches what is on screen rather than every record.
struct Extent {
  double low = 0, high = 0;
  bool any = false;
  void Add(double v);
};

struct LogContent {
  std::vector<Record> records;
  std::vector<UtcSeconds> notices;  // "E-MAIL ALARM" lines
  std::size_t lines = 0;            // every line taken, readable or not
  std::size_t unreadable = 0;
  std::size_t missingValues = 0;  // value texts that were empty or not numbers
  std::size_t outOfRange = 0;     // numbers the instrument cannot report

  // Where a run of records in rising time begins: a clock set back starts
  // a new one.
  std::vector<std::size_t> runs;
  // The lowest and highest value indices of each kBlock records, and of
  // each kSmallBlock, for decimation: a block inside one pixel column is
  // taken by its extremes, one across a column's edge in small blocks.
  static constexpr std::size_t kBlock = 256, kSmallBlock = 16;
  struct Block {
    std::array<std::uint32_t, 4> index;  // purity low, high, temperature low, high
  };
  std::vector<Block> blocks, smallBlocks;
  Extent purity, temperature;
  UtcSeconds first = 0, last = 0;  // earliest and latest time of any line
  bool anyTime = false;
  // The step between records seen most often: the measurement interval.
  UtcSeconds Interval() const { return interval_; }

  // The latest record's value texts as logged, for the readout.
  std::string lastPurity, lastTemperature;

  LocalClock clock;
  LineSplitter splitter;  // where the last read stopped

  void Add(const Record& r);
  void AddNotice(UtcSeconds time);

 private:
  void Widen(UtcSeconds time);
  static constexpr std::size_t kLongestCountedStep = 10000;  // the longest interval, in s
  std::vector<std::uint32_t> steps_;
  UtcSeconds interval_ = 0;
};

LogLine::Kind ReadLine(std::string_view line, LogContent& into);

// Reads the complete lines at the start of `bytes` into `into` and returns how
// many bytes they took; an unfinished last line is left for the next call
// (see LineSplitter).
std::size_t ReadLines(std::string_view bytes, LogContent& into);

}  // namespace zrv::trend
