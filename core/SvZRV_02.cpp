#include "core/SvZRV_02.h"

#include <algorithm>

namespace zrv {
namespace {

// The drive holding a path: the longest mount root that prefixes it.
std::string DriveOf(const std::string& path, const std::vector<std::string>& drives) {
  std::string best;
  for (const std::string& root : drives) {
    if (root.empty()) continue;
    const bool under = path.rfind(root, 0) == 0 && (path.size() == root.size() ||
                                                    root.back() == '/' || path[root.size()] == '/');
    if (under && root.size() > best.size()) best = root;
  }
  return best;
}

}  // namespace

// What Timer1's tick does, top to bottom: the first row that is due is
// served and ends the tick. A new command is a row here.
const std::array<SvZRV_02::TickRow, 8> SvZRV_02::kTickRows = {{
    {[](const SvGlobal01B& g) { return g.VersionPending == 1; }, &SvZRV_02::SendVersionQuery, true},
    {&SvZRV_02::ReadoutQueryDue, &SvZRV_02::SendReadoutQuery, true},
    {[](const SvGlobal01B& g) { return g.EmailSwitchPending == 1; }, &SvZRV_02::SendEmailSwitch,
     true},
    {[](const SvGlobal01B& g) { return g.ParamSetPending == 1; }, &SvZRV_02::SendParamSet, true},
    {[](const SvGlobal01B& g) { return g.SingleCommandPending == kTrue; },
     &SvZRV_02::SendSingleCommand, true},
    {[](const SvGlobal01B& g) { return g.ContinuousRun == kTrue; }, &SvZRV_02::PollCycle, true},
    {[](const SvGlobal01B& g) { return g.VersionPending == 0 && g.ReadoutStep == kReadoutIdle; },
     &SvZRV_02::LetTheLinkGo, false},
    // What is left: the read-out waits for the e-mail state reply.
    {[](const SvGlobal01B&) { return true; }, &SvZRV_02::AwaitEmailState, false},
}};

SvZRV_02::SvZRV_02(const Ports& ports) : ports_(ports) {
  // Timers as designed: Timer1 waits for something to send, Timer2 blinks always.
  ports_.Timer1.SetEnabled(false);
  ports_.Timer1.SetInterval(kTickMs);
  ports_.Timer2.SetEnabled(true);
  ports_.Timer2.SetInterval(kTickMs);

  vm_.Dir1.text = ports_.directories.CurrentDirectory();
  vm_.Drive1.list = ports_.directories.Drives();
  vm_.Drive1.text = DriveOf(vm_.Dir1.text, vm_.Drive1.list);
}

void SvZRV_02::StartLinkTimer() {
  ports_.Timer1.SetEnabled(true);
  ports_.Timer1.SetInterval(kTickMs);
}

}  // namespace zrv
