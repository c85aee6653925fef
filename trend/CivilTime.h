// Wall-clock times as the log writes them ("yyyy/mm/dd hh:nn:ss", the
// controller's local time), counted in seconds from 1970/01/01 00:00:00 of
// that same clock. No time zone is applied: the view shows the log's own
// stamps, and a clock change shows as the jump the log itself contains.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrv::trend {

using CivilSeconds = std::int64_t;

// The 19-character stamp, checked field by field (a 31st of April is not a time).
std::optional<CivilSeconds> ParseStamp(std::string_view stamp);

// "yyyy/mm/dd hh:nn:ss", as in the log.
std::string FormatStamp(CivilSeconds time);

// "yyyy-mm-ddThh:nn:ss" (ISO 8601, local time without an offset).
std::string FormatIso(CivilSeconds time);

}  // namespace zrv::trend
