// Read-out of the instrument's e-mail alarm settings (firmware 1.2 on): the
// ticks send "THRESHOLD?", "HYS?" and "EMAIL?", each once its predecessor is
// answered, and each reply shows its value and queues the next query. A read-out that the link cuts
// off is abandoned rather than resumed later, where it would take the replies of other commands as
// settings; Check is usable again to read them anew.
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// A setting is shown as the reply's first characters.
constexpr std::size_t kShownCharacters = 2;

// The reply's first two characters, ending early at a line end so that no
// CR reaches a text box (and from there a later parameter set).
std::string ShownValue(const std::string& reply) {
  const std::string first = reply.substr(0, kShownCharacters);
  return first.substr(0, first.find_first_of("\r\n"));
}

}  // namespace

void SvZRV_02::ReadoutReply(Awaited setting, const std::string& reply) {
  if (setting == Awaited::kThreshold) {
    vm_.Txt_Theshold.text = ShownValue(reply);
    g_.PendingCommand = kHysteresisQuery;
  } else if (setting == Awaited::kHysteresis) {
    vm_.Txt_Hysteresis.text = ShownValue(reply);
    g_.PendingCommand = kEmailQuery;
  } else {
    ShowEmailState(reply == kEmailOnReply);
    g_.ReadoutStep = kReadoutIdle;
  }
}

void SvZRV_02::AbandonReadout() {
  if (g_.ReadoutStep == kReadoutIdle) return;
  g_.ReadoutStep = kReadoutIdle;
  vm_.Version_Check.enabled = true;
}

void SvZRV_02::ShowEmailState(bool on) {
  g_.EmailEnabled = on ? 1 : 0;
  vm_.EMail.text = on ? "Ready" : "not Ready";
  vm_.EMail.backColor = on ? kGreen : kButtonFace;
}

}  // namespace zrv
