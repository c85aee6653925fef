#include "core/RunCounters.h"

#include <exception>

#include "core/NumberReading.h"

namespace zrv {
namespace {

std::optional<double> Reading(const std::string& field, std::uint64_t& unreadable) {
  try {
    return ReadStrict(field);
  } catch (const std::exception&) {
    ++unreadable;
    return std::nullopt;
  }
}

}  // namespace

void RunCounters::CountRecord(const SvGlobal01B& g) {
  if (g.EmailAlarmReceived != 0) {
    ++email_alarm_notices;
    return;
  }
  if (g.MeasureMode != kTrue) return;
  ++records;
  purity = Reading(g.PurityText, unreadable_purities);
  temperature = Reading(g.TempText, unreadable_temperatures);
  record_time = g.RecordTime;
}

}  // namespace zrv
