// A measurement log as the controller writes it, one record a second: purity
// drifting over the day with a daily dip below 80 % for about an hour and a
// half, temperature following the day, and an "E-MAIL ALARM" notice when the
// dip begins and then at most every 20 minutes while it lasts (in place of that second's
// record, so the line count is exactly one per second).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "trend/CivilTime.h"

namespace zrv::trend::bench {

inline std::string SyntheticLog(std::int64_t seconds) {
  const CivilSeconds start = *ParseStamp("2026/11/30 00:00:00");
  std::string log;
  log.reserve(static_cast<std::size_t>(seconds) * 40);
  std::uint32_t noise = 12345;
  CivilSeconds lastNotice = start - kDay;
  for (std::int64_t i = 0; i < seconds; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const double jitter = static_cast<double>(noise >> 8) / (1 << 24) - 0.5;
    const double day = static_cast<double>(i % kDay) / kDay;
    // The dip: 10:00 to 12:30, deepest at 11:15.
    const double dip = day > 10.0 / 24 && day < 12.5 / 24
                           ? 19.0 * std::sin((day - 10.0 / 24) / (2.5 / 24) * M_PI)
                           : 0;
    const double purity = 93.0 + 3.0 * std::sin(2 * M_PI * day) - dip + 0.6 * jitter;
    const double temperature = 24.0 + 2.5 * std::sin(2 * M_PI * (day - 0.3)) + 0.2 * jitter;
    const CivilSeconds now = start + i;
    const bool notice = purity < 80 && now - lastNotice >= 20 * kMinute;
    char line[64];
    if (notice) {
      lastNotice = now;
      std::snprintf(line, sizeof line, "%s E-MAIL ALARM\r\n", FormatStamp(now).c_str());
    } else {
      std::snprintf(line, sizeof line, "%s %.1f %.2f %%&DEG\r\n", FormatStamp(now).c_str(), purity,
                    temperature);
    }
    log += line;
  }
  return log;
}

}  // namespace zrv::trend::bench
