// The controller's state as a PLC reads it over Modbus: 15 registers and 6
// status bits computed from the state copy. Standard library only; the
// server that answers with them lives in adapters/. 32-bit values take two
// registers, high word first ("ABCD").
//
// Where a value does not fit its register:
// - purity and temperature as float32: NaN when absent (before the first
//   record, or a field that was not a number); beyond float32, +-infinity;
// - x 10 as int16: rounded to the nearest (halves to even, as the
//   controller rounds its entries), -32768 when absent, beyond +-3276.7
//   held at +-32767 so -32768 only ever means "none"; the alarm level alike;
// - the record count as uint32 and the two notice counts as uint16 wrap
//   (a PLC's difference of two reads stays right);
// - the record time: 0 before the first record and for a stamp before 1970
//   or after 2106-02-07 (a clock set wrong), whole seconds otherwise;
// - the interval: 0..65535 s, held at the ends.
#pragma once

#include <array>
#include <cstdint>

#include "monitoring/StateCopy.h"

namespace zrv::monitoring {

// The first register of each value (0-based PDU addresses).
enum ModbusWord : int {
  kPurityFloat = 0,
  kTemperatureFloat = 2,
  kRecordCount = 4,
  kRecordTime = 6,
  kPurityTenths = 8,
  kTemperatureTenths = 9,
  kAlarmLevelTenths = 10,
  kIntervalSeconds = 11,
  kStatusBits = 12,
  kReplyTimeouts = 13,
  kEmailAlarmNotices = 14,
  kModbusWords = 15
};

// Bits of word kStatusBits, and discrete inputs of the same numbers.
enum ModbusStatusBit : int {
  kRunActiveBit = 0,
  kLinkOpenBit = 1,
  kPurityAlarmBit = 2,
  kRecordsWaitingBit = 3,
  kValueMissingBit = 4,  // purity or temperature has no number: before the first record too
  kFirmwareCheckedBit = 5,
  kModbusBits = 6
};

inline constexpr std::int16_t kNoTenths = -32768;

struct ModbusRegisters {
  std::array<std::uint16_t, kModbusWords> words{};

  bool Bit(int bit) const { return (words[kStatusBits] >> bit) & 1u; }
};

ModbusRegisters ComputeModbusRegisters(const StateCopy& state);

}  // namespace zrv::monitoring
