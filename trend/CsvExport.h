// The measurement records for spreadsheets: a header, then one record a line
// with its ISO 8601 time, purity and temperature; a missing value is an empty
// field.
#pragma once

#include <ostream>

#include "trend/LogReader.h"

namespace zrv::trend {

void WriteCsv(const LogContent& content, std::ostream& out);

}  // namespace zrv::trend
