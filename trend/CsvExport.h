// The log for spreadsheets, read again from the file so that each value text
// is written exactly as the instrument sent it (a control byte in it as '?',
// so none reaches a spreadsheet raw): a header, then one row per
// measurement record and per "E-MAIL ALARM" notice, in file order, with the
// ISO 8601 time and its UTC offset (the hour repeated when summer time ends
// resolved by the order of the records), the event, and the two value texts.
// Unreadable lines have no time to stand at and are left out. Lines end as
// the reader ends them, so an unfinished last line is not a row yet.
#pragma once

#include <istream>
#include <optional>
#include <ostream>

#include "trend/Decimation.h"

namespace zrv::trend {

// Only the rows inside `range`, when one is given.
void WriteCsv(std::istream& log, std::ostream& out, std::optional<TimeRange> range = {});

}  // namespace zrv::trend
