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
    ++emailAlarmNotices;
    return;
  }
  if (g.MeasureMode != kTrue) return;
  ++records;
  purity = Reading(g.PurityText, unreadablePurities);
  temperature = Reading(g.TempText, unreadableTemperatures);
  recordTime = g.RecordTime;
}

}  // namespace zrv
