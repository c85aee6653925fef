// The controller's state as Prometheus reads it: a plain copy of what a
// scrape shows, and its text exposition (format 0.0.4). Standard library
// only; the copy is taken by the shell and formatted when a scrape comes.
//
// Units follow Prometheus' conventions: purity and the alarm level as a
// ratio (0.953 for 95.3 %), times in seconds since the epoch, temperature
// in degrees Celsius, counters ending in _total.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zrv::monitoring {

struct MetricsSnapshot {
  // The last measurement record; a value is absent before the first record
  // and while the instrument's field was not a number.
  std::optional<double> purityPercent;
  std::optional<double> temperatureCelsius;
  std::optional<double> recordTime;  // seconds since the epoch
  std::optional<double> runStartTime;

  std::uint64_t records = 0;
  std::uint64_t emailAlarmNotices = 0;
  std::uint64_t replyTimeouts = 0;
  std::uint64_t failedLogAppends = 0;
  std::uint64_t lostRecords = 0;
  std::uint64_t unreadablePurities = 0;
  std::uint64_t unreadableTemperatures = 0;

  bool runActive = false;
  bool linkOpen = false;
  bool purityAlarm = false;
  double alarmLevelPercent = 0;
  double intervalSeconds = 0;

  std::string firmware;  // empty until Check has read it
  std::string address;   // "host:port" of the instrument, empty until the first link
};

std::string FormatExposition(const MetricsSnapshot& snapshot);

// The content type of the exposition, for the HTTP response.
inline constexpr char kExpositionContentType[] = "text/plain; version=0.0.4; charset=utf-8";

}  // namespace zrv::monitoring
