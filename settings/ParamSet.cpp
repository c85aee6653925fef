// Threshold and hysteresis of the instrument's e-mail alarm, sent as two
// commands in one transmission, the texts exactly as typed.
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {

void SvZRV_02::EMail_Pramset_Click() {
  if (!OpenLinkForSettingsCommand(g_.ParamSetPending)) return;
  const std::string threshold = vm_.Txt_Theshold.text;
  const std::string hysteresis = vm_.Txt_Hysteresis.text;
  g_.PendingCommand = std::string("THRESHOLD ") + threshold + kCrLf + "HYS " + hysteresis + kCrLf;
  StartLinkTimer();
}

}  // namespace zrv
