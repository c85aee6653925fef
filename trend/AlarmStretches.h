// Where the purity was below the alarm level, and for how long. A stretch
// begins at the first record below the level and ends at the record that
// reads the level or more again (or at the last record, while it lasts).
// Records without a purity value neither begin nor end a stretch. A clock set
// back ends a stretch at the last record before it and, if purity is still
// low, begins a new one, so no stretch runs backwards.
#pragma once

#include <vector>

#include "trend/Decimation.h"

namespace zrv::trend {

// Kept up to date as records are appended: a followed log costs only its new
// records.
class BelowLevel {
 public:
  explicit BelowLevel(double level) : level_(level) {}

  // Takes the records not taken yet.
  void Update(const std::vector<Record>& records);
  // Takes one record, after those taken, whichever they were.
  void Add(const Record& r);
  double Level() const { return level_; }
  const std::vector<TimeRange>& Stretches() const { return stretches_; }
  UtcSeconds Total() const;
  // Records taken so far.
  std::size_t Next() const { return next_; }

 private:
  double level_;
  std::vector<TimeRange> stretches_;
  std::size_t next_ = 0;
  bool below_ = false;
};

// The stretches as the chart shades them: clipped to `range`, widened to
// whole columns (so each is one column wide at least and a single low record
// stays visible in a week), and those closer than one column merged.
std::vector<TimeRange> ShadeStretches(const std::vector<TimeRange>& stretches, TimeRange range,
                                      int columns);

// Turns appended records into the events worth a desktop notice. The first
// update only learns the state: opening an old log raises nothing.
class AlarmWatch {
 public:
  struct Events {
    int fell = 0;
    int recovered = 0;
    int emailAlarms = 0;
  };

  Events Update(const LogContent& content, double level);
  // The file was emptied: the next records are a new run, still live.
  void NewRun();

 private:
  bool learned_ = false;
  bool below_ = false;
  std::size_t records_ = 0;
  std::size_t notices_ = 0;
};

}  // namespace zrv::trend
