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

void RunCounters::CountMeasurement(const std::string& purityText,
                                   const std::string& temperatureText, const std::string& stamp) {
  ++records;
  purity = Reading(purityText, unreadablePurities);
  temperature = Reading(temperatureText, unreadableTemperatures);
  recordTime = stamp;
}

}  // namespace zrv
