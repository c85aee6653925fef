// The controller's state as Prometheus reads it: the text exposition (format
// 0.0.4) of the state copy. Standard library only; the copy is taken after
// each handler and formatted when a scrape comes.
//
// Units follow Prometheus' conventions: purity and the alarm level as a
// ratio (0.953 for 95.3 %), times in seconds since the epoch, temperature
// in degrees Celsius, counters ending in _total.
#pragma once

#include <string>

#include "monitoring/StateCopy.h"

namespace zrv::monitoring {

std::string FormatExposition(const StateCopy& state);

// The content type of the exposition, for the HTTP response.
inline constexpr char kExpositionContentType[] = "text/plain; version=0.0.4; charset=utf-8";

}  // namespace zrv::monitoring
