// The instrument's own e-mail alarm, switched from the EMail button. The
// button changes when the command goes out, not on a reply.
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {

void SvZRV_02::EMail_Click() {
  if (!OpenLinkForSettingsCommand(g_.EmailSwitchPending)) return;
  g_.PendingCommand = g_.EmailEnabled != 0 ? kEmailOff : kEmailOn;
  StartLinkTimer();
}

}  // namespace zrv
