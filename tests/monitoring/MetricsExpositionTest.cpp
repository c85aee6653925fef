// The exposition as a scrape reads it: each row sets part of a snapshot and
// names whole lines that must be there and metrics that must not.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "monitoring/MetricsExposition.h"

namespace zrv::monitoring {
namespace {

TEST(MetricsExposition, ValuesUnitsAbsenceAndLabels) {
  const struct {
    std::function<void(MetricsSnapshot&)> set;
    std::vector<std::string> lines, absent;
  } rows[] = {
      {[](auto&) {},
       {"zrv02_records_total 0", "zrv02_run_active 0",
        R"(zrv02_unreadable_values_total{field="temperature"} 0)",
        R"(zrv02_instrument_info{address="",firmware=""} 1)"},
       {"zrv02_purity_ratio", "zrv02_temperature_celsius", "zrv02_last_record_timestamp_seconds",
        "zrv02_run_start_timestamp_seconds"}},
      {[](auto& s) {
         s.purityPercent = 95.3, s.temperatureCelsius = -5, s.recordTime = 1796000000;
         s.alarmLevelPercent = 80, s.intervalSeconds = 10000, s.records = 1ull << 40;
         s.emailAlarmNotices = 2, s.replyTimeouts = 3, s.failedLogAppends = 4, s.lostRecords = 6;
         s.unreadablePurities = 5, s.runActive = s.linkOpen = s.purityAlarm = true;
         s.firmware = "1.\"\\\n\xff ~",
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
    MetricsSnapshot snapshot;
    row.set(snapshot);
    const std::string text = std::string("\n").append(FormatExposition(snapshot));
    for (const auto& line : row.lines)
      EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << text;
    for (const auto& name : row.absent) EXPECT_EQ(text.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace zrv::monitoring
