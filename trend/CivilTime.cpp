#include "trend/CivilTime.h"

#include <chrono>
#include <cstdio>

namespace zrv::trend {
namespace {

namespace ch = std::chrono;

// Two ASCII digits at `at`, or -1.
int TwoDigits(std::string_view s, std::size_t at) {
  const char a = s[at], b = s[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

std::string Format(CivilSeconds time, char dateSep, char middle) {
  const ch::sys_days day{ch::floor<ch::days>(ch::sys_seconds{ch::seconds{time}})};
  const ch::year_month_day ymd{day};
  const ch::hh_mm_ss hms{ch::seconds{time} - day.time_since_epoch()};
  char out[32];
  std::snprintf(out, sizeof out, "%04d%c%02u%c%02u%c%02d:%02d:%02d", static_cast<int>(ymd.year()),
                dateSep, static_cast<unsigned>(ymd.month()), dateSep,
                static_cast<unsigned>(ymd.day()), middle, static_cast<int>(hms.hours().count()),
                static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
  return out;
}

}  // namespace

std::optional<CivilSeconds> ParseStamp(std::string_view s) {
  if (s.size() != 19 || s[4] != '/' || s[7] != '/' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
    return std::nullopt;
  const int century = TwoDigits(s, 0), yy = TwoDigits(s, 2), month = TwoDigits(s, 5),
            day = TwoDigits(s, 8), hour = TwoDigits(s, 11), minute = TwoDigits(s, 14),
            second = TwoDigits(s, 17);
  if (century < 0 || yy < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59)
    return std::nullopt;
  const ch::year_month_day ymd{ch::year{century * 100 + yy}, ch::month{unsigned(month)},
                               ch::day{unsigned(day)}};
  if (!ymd.ok()) return std::nullopt;
  const auto days = ch::sys_days{ymd}.time_since_epoch().count();
  return days * 86400LL + hour * 3600 + minute * 60 + second;
}

std::string FormatStamp(CivilSeconds time) {
  return Format(time, '/', ' ');
}

std::string FormatIso(CivilSeconds time) {
  return Format(time, '-', 'T');
}

}  // namespace zrv::trend
