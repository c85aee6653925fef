// Local wall-clock time for record stamps.
#pragma once

#include "core/Ports.h"

namespace zrv::adapters {

class QtClock : public zrv::ClockPort {
 public:
  std::string Stamp() override;
};

}  // namespace zrv::adapters
