#include "monitoring/ModbusRegisters.h"

#include <bit>
#include <cmath>
#include <limits>

namespace zrv::monitoring {
namespace {

using Words = std::array<std::uint16_t, kModbusWords>;

void PutUint32(Words& words, int first, std::uint32_t value) {
  words[first] = static_cast<std::uint16_t>(value >> 16);
  words[first + 1] = static_cast<std::uint16_t>(value);
}

// Converting a double beyond float's range is undefined; infinity says it.
float ToFloat(const std::optional<double>& value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (!value) return std::numeric_limits<float>::quiet_NaN();
  if (std::fabs(*value) > kMax)
    return std::copysign(std::numeric_limits<float>::infinity(), *value);
  return static_cast<float>(*value);
}

// The nearest whole number within low..high.
double Held(double value, double low, double high) {
  return std::fmin(std::fmax(std::nearbyint(value), low), high);
}

std::uint16_t Tenths(const std::optional<double>& value) {
  constexpr double kLimit = std::numeric_limits<std::int16_t>::max();
  const std::int16_t tenths =
      value ? static_cast<std::int16_t>(Held(*value * 10, -kLimit, kLimit)) : kNoTenths;
  return static_cast<std::uint16_t>(tenths);
}

std::uint32_t EpochSeconds(const std::optional<double>& time) {
  constexpr double kLast = std::numeric_limits<std::uint32_t>::max();
  return time && *time >= 0 && *time <= kLast ? static_cast<std::uint32_t>(*time) : 0;
}

}  // namespace

ModbusRegisters ComputeModbusRegisters(const StateCopy& state) {
  const RunCounters& seen = state.seen;
  ModbusRegisters registers;
  Words& words = registers.words;
  PutUint32(words, kPurityFloat, std::bit_cast<std::uint32_t>(ToFloat(seen.purity)));
  PutUint32(words, kTemperatureFloat, std::bit_cast<std::uint32_t>(ToFloat(seen.temperature)));
  PutUint32(words, kRecordCount, static_cast<std::uint32_t>(seen.records));
  PutUint32(words, kRecordTime, EpochSeconds(state.recordTime));
  words[kPurityTenths] = Tenths(seen.purity);
  words[kTemperatureTenths] = Tenths(seen.temperature);
  words[kAlarmLevelTenths] = Tenths(state.alarmLevelPercent);
  words[kIntervalSeconds] = static_cast<std::uint16_t>(
      Held(state.intervalSeconds, 0, std::numeric_limits<std::uint16_t>::max()));
  const bool bits[kModbusBits] = {state.runActive,
                                  state.linkOpen,
                                  state.purityAlarm,
                                  state.recordsWaiting,
                                  !seen.purity || !seen.temperature,
                                  !seen.firmware.empty()};
  for (int bit = 0; bit < kModbusBits; ++bit) words[kStatusBits] |= bits[bit] << bit;
  words[kReplyTimeouts] = static_cast<std::uint16_t>(seen.replyTimeouts);
  words[kEmailAlarmNotices] = static_cast<std::uint16_t>(seen.emailAlarmNotices);
  return registers;
}

}  // namespace zrv::monitoring
