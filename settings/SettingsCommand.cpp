// What the e-mail switch and the parameter set have in common: a click
// queues one command for the next tick, unless the single command slot is
// already spoken for.
#include "core/SvZRV_02.h"

namespace zrv {

bool SvZRV_02::OpenLinkForSettingsCommand(std::int16_t& requestFlag) {
  // Ignored during runs, and while another command still waits for its
  // tick: the single command slot must never be overwritten.
  if (CommandWaits()) return false;
  requestFlag = 1;
  try {
    OpenLink();
  } catch (...) {
    // Nothing was queued: a later click must not find a stale request.
    requestFlag = 0;
    throw;
  }
  return true;
}

}  // namespace zrv
