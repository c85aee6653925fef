#include "monitoring/MetricsExposition.h"

#include <charconv>
#include <cmath>

namespace zrv::monitoring {
namespace {

// Whole numbers (counters, times, intervals) without an exponent; others
// in the shortest form that reads back to the same double.
std::string Number(double value) {
  char text[32];
  const auto [end, ec] =
      std::fabs(value) < 1e15 && value == std::trunc(value)
          ? std::to_chars(text, text + sizeof text, static_cast<long long>(value))
          : std::to_chars(text, text + sizeof text, value);
  return std::string(text, ec == std::errc() ? end : text);
}

// Label values come from the instrument: anything but printable ASCII
// becomes '?', so a garbled reply cannot break the exposition's syntax.
std::string LabelValue(const std::string& value) {
  std::string escaped;
  for (const char c : value) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c >= ' ' && c <= '~' ? c : '?';
  }
  return escaped;
}

class Writer {
 public:
  void Family(const char* name, const char* type, const char* help) {
    text_ += std::string("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
  }
  void Sample(const char* name, double value, const std::string& labels = {}) {
    text_ += name + (labels.empty() ? "" : '{' + labels + '}') + ' ' + Number(value) + '\n';
  }
  // A family of one sample, left out while there is no value.
  void Gauge(const char* name, const char* help, std::optional<double> value) {
    if (!value) return;
    Family(name, "gauge", help);
    Sample(name, *value);
  }
  void Counter(const char* name, const char* help, std::uint64_t value) {
    Family(name, "counter", help);
    Sample(name, static_cast<double>(value));
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

std::optional<double> Ratio(std::optional<double> percent) {
  if (!percent) return std::nullopt;
  return *percent / 100;
}

}  // namespace

std::string FormatExposition(const StateCopy& s) {
  const RunCounters& seen = s.seen;
  Writer w;
  w.Gauge("zrv02_purity_ratio", "Purity of the last measurement record (1 is 100 %).",
          Ratio(seen.purity));
  w.Gauge("zrv02_temperature_celsius", "Temperature of the last measurement record.",
          seen.temperature);
  w.Gauge("zrv02_last_record_timestamp_seconds",
          "Time of the last measurement record, seconds since the epoch.", s.recordTime);
  w.Gauge("zrv02_run_start_timestamp_seconds",
          "Time the last Continue run started, seconds since the epoch.", s.runStartTime);
  w.Counter("zrv02_records_total", "Measurement records formed.", seen.records);
  w.Counter("zrv02_email_alarm_notices_total", "E-MAIL ALARM notices from the instrument.",
            seen.emailAlarmNotices);
  w.Counter("zrv02_reply_timeouts_total", "Measurement replies that did not come in time.",
            seen.replyTimeouts);
  w.Counter("zrv02_log_append_failures_total", "Records that could not be appended to the log.",
            seen.failedLogAppends);
  w.Counter("zrv02_records_lost_total", "Records given up without reaching the log.",
            seen.lostRecords);
  if (s.runsStartedAgain) {
    w.Counter("zrv02_runs_started_again_total", "Runs the logger started again after one ended.",
              *s.runsStartedAgain);
  }
  w.Family("zrv02_unreadable_values_total", "counter",
           "Fields of a measurement record that were not a number.");
  w.Sample("zrv02_unreadable_values_total", static_cast<double>(seen.unreadablePurities),
           "field=\"purity\"");
  w.Sample("zrv02_unreadable_values_total", static_cast<double>(seen.unreadableTemperatures),
           "field=\"temperature\"");
  w.Gauge("zrv02_run_active", "1 while a Continue run is going.", s.runActive);
  w.Gauge("zrv02_link_open", "1 while the link to the instrument is open.", s.linkOpen);
  w.Gauge("zrv02_purity_alarm", "1 while the purity alarm is on.", s.purityAlarm);
  w.Gauge("zrv02_purity_alarm_level_ratio", "Alarm level of the run (1 is 100 %).",
          s.alarmLevelPercent / 100);
  w.Gauge("zrv02_interval_seconds", "Measurement interval of the run.", s.intervalSeconds);
  w.Family("zrv02_instrument_info", "gauge", "The instrument's firmware version and address.");
  w.Sample(
      "zrv02_instrument_info", 1,
      "address=\"" + LabelValue(s.address) + "\",firmware=\"" + LabelValue(seen.firmware) + '"');
  return w.Take();
}

}  // namespace zrv::monitoring
