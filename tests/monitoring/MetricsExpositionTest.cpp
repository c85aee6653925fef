// The state copy as the core leaves it, and the exposition as a scrape reads
// it: each row sets part of a copy and names whole lines that must be there
// and metrics that must not.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "monitoring/MetricsExposition.h"
#include "tests/support/FakePorts.h"

namespace zrv::monitoring {
namespace {

TEST(MetricsExposition, ValuesUnitsAbsenceAndLabels) {
  const struct {
    std::function<void(StateCopy&)> set;
    std::vector<std::string> lines, absent;
  } rows[] = {
      {[](auto&) {},
       {"zrv02_records_total 0", "zrv02_run_active 0",
        R"(zrv02_unreadable_values_total{field="temperature"} 0)",
        R"(zrv02_instrument_info{address="",firmware=""} 1)"},
       {"zrv02_purity_ratio", "zrv02_temperature_celsius", "zrv02_last_record_timestamp_seconds",
        "zrv02_run_start_timestamp_seconds"}},
      {[](auto& s) {
         s.seen.purity = 95.3, s.seen.temperature = -5, s.recordTime = 1796000000;
         s.alarmLevelPercent = 80, s.intervalSeconds = 10000, s.seen.records = 1ull << 40;
         s.seen.emailAlarmNotices = 2, s.seen.replyTimeouts = 3, s.seen.failedLogAppends = 4;
         s.seen.lostRecords = 6, s.seen.unreadablePurities = 5;
         s.runActive = s.linkOpen = s.purityAlarm = true;
         s.seen.firmware = "1.\"\\\n\xff ~",
         s.address = "127.0.0.1:7777";  // the instrument's text, made safe
       },
       {"zrv02_purity_ratio 0.953", "# TYPE zrv02_purity_ratio gauge",
        "zrv02_temperature_celsius -5", "zrv02_last_record_timestamp_seconds 1796000000",
        "zrv02_purity_alarm_level_ratio 0.8", "zrv02_interval_seconds 10000",
        "zrv02_records_total 1099511627776", "# TYPE zrv02_records_total counter",
        "zrv02_email_alarm_notices_total 2", "zrv02_reply_timeouts_total 3",
        "zrv02_log_append_failures_total 4", "zrv02_records_lost_total 6",
        R"(zrv02_unreadable_values_total{field="purity"} 5)", "zrv02_run_active 1",
        "zrv02_link_open 1", "zrv02_purity_alarm 1",
        R"(zrv02_instrument_info{address="127.0.0.1:7777",firmware="1.\"\\?? ~"} 1)"},
       {}},
  };
  for (const auto& row : rows) {
    StateCopy copy;
    row.set(copy);
    const std::string text = std::string("\n").append(FormatExposition(copy));
    for (const auto& line : row.lines)
      EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << text;
    for (const auto& name : row.absent) EXPECT_EQ(text.find(name), std::string::npos) << name;
  }
}

// The copy follows the core through a run, without a window: the firmware
// from the state, the run's start dated once, the record's stamp in local time.
TEST(StateCopy, FollowsTheCoreThroughARun) {
  setenv("TZ", "UTC", 1);
  test::Rig r;
  r.clock.stamp = "2026/12/07 06:00:00";
  r.Run("HostIPEdit=127.0.0.1 check t <1.10 t Txt_Interval=1 Txt_Alarm_level=99 start t <98.5% t");
  const StateCopy started = CopyState(r.w, {}, 100);
  const StateCopy running = CopyState(r.w, started, 200);
  r.Run("<25.3DEG");
  const StateCopy recorded = CopyState(r.w, running, 300);
  EXPECT_EQ(std::tuple(running.seen.firmware, running.address, running.runStartTime,
                       running.purityAlarm, running.linkOpen, running.intervalSeconds,
                       running.alarmLevelPercent, running.recordTime),
            std::tuple("1.10", "127.0.0.1:7777", 100.0, true, true, 1.0, 99.0, std::nullopt));
  EXPECT_EQ(std::tuple(recorded.seen.records, recorded.seen.purity, recorded.recordTime,
                       recorded.recordsWaiting),
            std::tuple(1u, 98.5, 1796623200.0, false));
}

}  // namespace
}  // namespace zrv::monitoring
