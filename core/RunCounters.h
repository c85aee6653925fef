// What the controller has seen since it started, for monitoring from
// outside. The controller state is cleared run by run; these only grow, as
// a monitoring system expects of counters, and they never steer anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zrv {

struct RunCounters {
  std::uint64_t records = 0;  // measurement records of Continue runs
  std::uint64_t emailAlarmNotices = 0;
  std::uint64_t replyTimeouts = 0;
  std::uint64_t failedLogAppends = 0;
  std::uint64_t lostRecords = 0;  // given up without reaching the log
  // Fields of a measurement record that were not a number (empty, garbled).
  std::uint64_t unreadablePurities = 0;
  std::uint64_t unreadableTemperatures = 0;

  // The last measurement record; a value is empty when its field was not a number.
  std::optional<double> purity;
  std::optional<double> temperature;
  std::string recordTime;  // its stamp, "yyyy/mm/dd hh:nn:ss"; empty before the first

  std::string firmware;  // the version Check accepted, as shown; empty before

  // Counts a measurement record from its two value texts.
  void CountMeasurement(const std::string& purityText, const std::string& temperatureText,
                        const std::string& stamp);
};

}  // namespace zrv
