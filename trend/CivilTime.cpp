#include "trend/CivilTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

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
  if (s.size() != kStampLength || s[4] != '/' || s[7] != '/' || s[10] != ' ' || s[13] != ':' ||
      s[16] != ':')
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
  return days * kDay + hour * kHour + minute * kMinute + second;
}

std::string FormatStamp(CivilSeconds time) {
  return Format(time, '/', ' ');
}

std::string FormatIso(CivilSeconds time) {
  return Format(time, '-', 'T');
}

std::string FormatOffset(std::int64_t seconds) {
  const std::int64_t absolute = seconds < 0 ? -seconds : seconds;
  char out[16];
  std::snprintf(out, sizeof out, "%c%02d:%02d", seconds < 0 ? '-' : '+',
                static_cast<int>(absolute / kHour), static_cast<int>(absolute % kHour / kMinute));
  return out;
}

std::int64_t UtcOffsetAt(UtcSeconds time) {
  const std::time_t t = static_cast<std::time_t>(time);
  std::tm local{};
  if (!localtime_r(&t, &local)) return 0;
  return local.tm_gmtoff;
}

std::vector<UtcSeconds> UtcCandidates(CivilSeconds civil) {
  // Offsets change at most a few times a year, so the ones a day either side
  // hold every reading this wall-clock time can have.
  const std::int64_t before = UtcOffsetAt(civil - kDay), after = UtcOffsetAt(civil + kDay);
  std::vector<UtcSeconds> found;
  for (const std::int64_t offset : {before, after}) {
    const UtcSeconds utc = civil - offset;
    if (UtcOffsetAt(utc) == offset && (found.empty() || found.back() != utc)) found.push_back(utc);
  }
  if (found.size() == 2 && found[0] > found[1]) std::swap(found[0], found[1]);
  // Skipped by the jump forward: read with the offset from before it.
  if (found.empty()) found.push_back(civil - before);
  return found;
}

UtcSeconds LocalClock::ToUtc(CivilSeconds civil) {
  const CivilSeconds hour = civil - ((civil % kHour) + kHour) % kHour;
  if (hour != hour_) {
    hour_ = hour;
    offsets_.clear();
    for (const UtcSeconds utc : UtcCandidates(hour)) offsets_.push_back(hour - utc);
  }
  UtcSeconds utc = civil - offsets_.back();
  for (const std::int64_t offset : offsets_)
    if (civil - offset >= previous_) {
      utc = civil - offset;
      break;
    }
  previous_ = utc;
  return utc;
}

}  // namespace zrv::trend
