// What the controller counts for monitoring, over the events of runs.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// Records, notices, time-outs, failed appends/records lost, unreadable purities
// and temperatures; then the last record's values ("-" for none) and stamp.
std::string Counted(const RunCounters& c) {
  const auto value = [](std::optional<double> v) { return v ? std::to_string(*v) : "-"; };
  std::ostringstream s;
  s << c.records << ' ' << c.emailAlarmNotices << ' ' << c.replyTimeouts << ' '
    << c.failedLogAppends << '/' << c.lostRecords << ' ' << c.unreadablePurities << '/'
    << c.unreadableTemperatures << ' ' << value(c.purity) << ' ' << value(c.temperature) << ' '
    << c.recordTime;
  return s.str();
}

TEST(RunCounters, CountAcrossRunsAndNeverReset) {
  const std::pair<std::string, std::string> rows[] = {
      {"start t <95.3% t <-5DEG t*4 <96.0% t <25.3DEG", "2 0 0 0/0 0/0 96.000000 25.300000 T"},
      // A notice is counted apart and leaves the pair it interrupts alone.
      {"start t <79.0% <E-MAIL~ALARM t <25.3DEG", "1 1 0 0/0 0/0 79.000000 25.300000 T"},
      // Garbled and empty fields: the record counts, its values are none.
      {"start t <bad t <", "1 0 0 0/0 1/1 - - T"},
      {"start t <95.3% t <25.3DEG t*4 <% t <25.3DEG", "2 0 0 0/0 1/0 - 25.300000 T"},
      // Each reply time-out, also the fifth that ends the run; a new run adds on.
      {"start t*140 start t*26", "0 0 6 0/0 0/0 - - "},
      // Single replies are no records.
      {"single t <1.10", "0 0 0 0/0 0/0 - - "},
      // A log that cannot be written: each record it could not take, and those
      // given up when the next start finds them still held.
      {"Dir1=/dev Txt_Save_File=full start t <95.3% t <25.3DEG t*4 <95.3% t <25.3DEG",
       "2 0 0 2/0 0/0 95.300000 25.300000 T"},
      {"Dir1=/dev Txt_Save_File=full start t <95.3% stop t <25.3DEG t start",
       "1 0 0 1/1 0/0 95.300000 25.300000 T"},
  };
  for (const auto& [script, counted] : rows) {
    Rig r;
    r.Run("check t <1.10 t Txt_Interval=1 " + script);
    EXPECT_EQ(Counted(r.w.Counters()), counted) << script;
  }
}

}  // namespace
}  // namespace zrv::test
