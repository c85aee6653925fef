// One plain copy of the controller's state for everything that shows it from
// outside (the Prometheus exposition, the Modbus registers, the logger's
// status line). It is taken after each handler, on the event thread, so an
// exporter never sees a handler's work half done, and it is only read: no
// exporter can change the controller. Adding a value to show is one field
// here and one line in each view of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/RunCounters.h"

namespace zrv {
class SvZRV_02;
}

namespace zrv::monitoring {

struct StateCopy {
  RunCounters seen;  // the counters, the last record and the firmware
  // The last record's stamp (local time) and the start of the last run, in
  // seconds since the epoch; absent before there was one.
  std::optional<double> recordTime;
  std::optional<double> runStartTime;

  bool runActive = false;
  bool linkOpen = false;
  bool purityAlarm = false;
  bool recordsWaiting = false;  // held until the log can be written again
  double alarmLevelPercent = 0;
  double intervalSeconds = 0;
  std::string address;  // "host:port" of the instrument, empty until the first link
  // Runs the logger started again after one ended; none in the window.
  std::optional<std::uint64_t> runsStartedAgain;
};

// The copy of `core`'s state now; `now` (seconds since the epoch) dates a run
// that was not active in `before`.
StateCopy CopyState(const SvZRV_02& core, const StateCopy& before, double now);

}  // namespace zrv::monitoring
