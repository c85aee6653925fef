// Times as the log writes them ("yyyy/mm/dd hh:nn:ss", the controller's local
// wall clock) and as the view places them (true seconds since 1970 UTC). The
// stamps carry no offset, so the view reads them in its own time zone (TZ),
// which is the controller's when both run on the same workstation: a day on
// the chart is then as long as it really was, and the hour that repeats when
// summer time ends is laid after the first one, not over it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::trend {

// Wall-clock seconds from 1970/01/01 00:00:00 of the log's own clock.
using CivilSeconds = std::int64_t;
// True seconds from 1970/01/01 00:00:00 UTC.
using UtcSeconds = std::int64_t;

// In seconds; the log's clock knows no leap seconds.
constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

// "yyyy/mm/dd hh:nn:ss"
constexpr std::size_t kStampLength = 19;

// The stamp, checked field by field (a 31st of April is not a time).
std::optional<CivilSeconds> ParseStamp(std::string_view stamp);

// "yyyy/mm/dd hh:nn:ss", as in the log.
std::string FormatStamp(CivilSeconds time);

// "yyyy-mm-ddThh:nn:ss" (ISO 8601 without an offset).
std::string FormatIso(CivilSeconds time);

// "+hh:mm" or "-hh:mm".
std::string FormatOffset(std::int64_t seconds);

// Seconds east of UTC in the process's time zone at a true time.
std::int64_t UtcOffsetAt(UtcSeconds time);

inline CivilSeconds ToCivil(UtcSeconds time) {
  return time + UtcOffsetAt(time);
}

// The true times a wall-clock time stands for, earliest first: one as a rule,
// two in the hour repeated when summer time ends, and the time just after the
// jump for a wall-clock time skipped when it begins.
std::vector<UtcSeconds> UtcCandidates(CivilSeconds civil);

// Turns the stamps of one log, in file order, into true times. A repeated
// hour is resolved by the order of the records: a stamp takes the earliest
// reading that is not before the previous stamp's, so the second pass of the
// hour follows the first. Offsets are looked up once per wall-clock hour.
class LocalClock {
 public:
  UtcSeconds ToUtc(CivilSeconds civil);

 private:
  CivilSeconds hour_ = INT64_MIN;
  std::vector<std::int64_t> offsets_;  // of the candidates in hour_, largest first
  UtcSeconds previous_ = INT64_MIN;
};

}  // namespace zrv::trend
