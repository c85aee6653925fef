// The firmware version check: nothing can be measured or set until the
// instrument has said which firmware it runs, and the version decides which
// parts of the window become usable. A successful check is final.
#include "core/Commands.h"
#include "core/NumberReading.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// What each firmware can do: 1.0 measures, 1.1 on also has the e-mail alarm
// settings, 1.2 on also reports them.
constexpr double kRunsOnly = 1.0;
constexpr double kEmailSettings = 1.1;
constexpr double kSettingsReadout = 1.2;
// The version is read from the reply's first characters.
constexpr std::size_t kVersionCharacters = 4;

}  // namespace

void SvZRV_02::Version_Check_Click() {
  if (g_.VersionPending == 0) {
    // The version stands; Check is usable again only after a cut read-out.
    if (!OpenLinkForSettingsCommand(g_.ReadoutStep)) return;
    g_.PendingCommand = kThresholdQuery;
    vm_.Version_Check.enabled = false;
    StartLinkTimer();
    return;
  }
  OpenLink();
  g_.PendingCommand = kVersionQuery;
  // A history that cannot be saved must not stop the check; say so once.
  std::string unsaved;
  for (auto [field, file] :
       {std::pair{&vm_.HostIPEdit, kIpHistoryFile}, std::pair{&vm_.HostPTEdit, kPortHistoryFile}}) {
    try {
      UpdateHostHistory(*field, file);
    } catch (const FileError& e) {
      unsaved += (unsaved.empty() ? "" : "\n") + std::string(e.what());
    }
  }
  if (!unsaved.empty()) ports_.messages.Show(unsaved, "");
  StartLinkTimer();
}

void SvZRV_02::VersionReply(const std::string& reply) {
  const std::string shown = reply.substr(0, kVersionCharacters);
  const double version = ReadLenient(shown);
  const bool v10 = version == kRunsOnly;
  if (!v10 && !(version >= kEmailSettings)) return;  // not recognised: asked again next tick

  vm_.Main_Frame.enabled = true;
  for (Control* c :
       {&vm_.EMail_Frame, &vm_.EMail, &vm_.EMail_Pramset, &vm_.Txt_Theshold, &vm_.Txt_Hysteresis}) {
    c->enabled = !v10;
  }
  vm_.Version_Check.backColor = kGreen;
  vm_.Version_Check.text = "Complete";
  vm_.Label10.text = shown;
  counters_.firmware = shown;
  g_.VersionPending = 0;
  vm_.Version_Check.enabled = false;
  if (version >= kSettingsReadout) {
    g_.ReadoutStep = kReadoutQueued;
    g_.PendingCommand = kThresholdQuery;
  }
}

}  // namespace zrv
