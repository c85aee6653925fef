// The 15 registers as a PLC reads them, from a state copy: each row sets part
// of a copy and names every word in address order.
#include <gtest/gtest.h>

#include <functional>

#include "monitoring/ModbusRegisters.h"

namespace zrv::monitoring {
namespace {

TEST(ModbusRegisters, WordsOfEachValueAndWhereItDoesNotFit) {
  const struct {
    const char* name;
    std::function<void(StateCopy&)> set;
    // floats (2 words each), records, time (2 each), tenths (3), interval, bits, counts (2)
    std::array<std::uint16_t, kModbusWords> words;
  } rows[] = {
      {"before any record",
       [](auto&) {},
       {0x7FC0, 0, 0x7FC0, 0, 0, 0, 0, 0, 0x8000, 0x8000, 0, 0, 0x0010, 0, 0}},
      {"a record in a run",
       [](auto& s) {
         s.seen.purity = 95.3, s.seen.temperature = 24.1, s.seen.records = 7;
         s.recordTime = 1796623200, s.alarmLevelPercent = 80, s.intervalSeconds = 10;
         s.runActive = s.linkOpen = true, s.seen.firmware = "1.10";
         s.seen.replyTimeouts = 3, s.seen.emailAlarmNotices = 2;
       },
       {0x42BE, 0x999A, 0x41C0, 0xCCCD, 0, 7, 0x6B16, 0x4B60, 953, 241, 800, 10, 0x0023, 3, 2}},
      {"halves to even, a value missing, the last time there is, an interval below 0",
       [](auto& s) {
         s.seen.purity = -5.25, s.seen.records = 2, s.recordTime = 4294967295.0;
         s.alarmLevelPercent = 0.25, s.intervalSeconds = -1;
       },
       {0xC0A8, 0, 0x7FC0, 0, 0, 2, 0xFFFF, 0xFFFF, 0xFFCC, 0x8000, 2, 0, 0x0010, 0, 0}},
      {"beyond every range",
       [](auto& s) {
         s.seen.purity = 1e308, s.seen.temperature = -1e308, s.seen.records = (1ull << 32) + 5;
         s.recordTime = 4294967296.0, s.alarmLevelPercent = 32767, s.intervalSeconds = 70000;
         s.runActive = s.linkOpen = s.purityAlarm = s.recordsWaiting = true;
         s.seen.firmware = "1.20", s.seen.replyTimeouts = 65539, s.seen.emailAlarmNotices = 65535;
       },
       {0x7F80, 0, 0xFF80, 0, 0, 5, 0, 0, 0x7FFF, 0x8001, 0x7FFF, 0xFFFF, 0x002F, 3, 0xFFFF}},
  };
  for (const auto& row : rows) {
    StateCopy copy;
    row.set(copy);
    EXPECT_EQ(ComputeModbusRegisters(copy).words, row.words) << row.name;
  }
}

}  // namespace
}  // namespace zrv::monitoring
