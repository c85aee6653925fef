// Starting and stopping runs. The handlers only prepare the controller
// state and switch Timer1 on; every transmission happens in the scheduler.
#include "core/CheckedMath.h"
#include "core/Commands.h"
#include "core/NumberReading.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// An interval of "0" means this many seconds, as the window's label says.
constexpr std::int32_t kIntervalForZero = 10000;
// Up to this many seconds the link stays open between pairs.
constexpr std::int32_t kLongestShortInterval = 9;

// Reads one entry of the window; a wrong one is named for the operator.
template <typename Number>
Number ReadEntry(const char* name, const std::string& text, Number (*read)(std::string_view)) {
  try {
    return read(text);
  } catch (const HandlerError& e) {
    throw HandlerError(std::string(name) + " \"" + text + "\": " + e.what());
  }
}

}  // namespace

void SvZRV_02::start_Click() {
  try {
    g_.WaitTicks = 0;
    g_.NoReplyCount = 0;
    g_.LinkDrops = 0;
    g_.SendRetries = 0;
    g_.SendFailed = kFalse;
    g_.PurityReceived = kFalse;
    vm_.start.enabled = false;
    // A read-out still going would take the run's replies as settings.
    AbandonReadout();
    OpenLink();
    g_.AlarmActive = kFalse;
    g_.BlinkState = kTrue;
    g_.LogEnabled = kTrue;
    g_.StopRequested = kFalse;
    g_.LogWriteFailed = kFalse;
    g_.LogFailureReported = kFalse;

    if (vm_.Continue_mode.value) {
      g_.SingleMode = kFalse;
      g_.MeasureMode = kTrue;
      g_.ContinuousRun = kTrue;
      g_.PollPhase = kBetweenPolls;
      // The entries are read before the log is emptied, so a start that
      // fails on a wrong entry leaves the previous run's log intact.
      std::int32_t interval = ReadEntry("Interval", vm_.Txt_Interval.text, StrictInt32);
      const std::int16_t alarmLevel =
          ReadEntry("Alarm level", vm_.Txt_Alarm_level.text, StrictInt16);
      // A pasted negative interval would poll on every tick.
      if (interval < 0)
        throw HandlerError("Interval \"" + vm_.Txt_Interval.text + "\" is negative");
      PrepareLogFile();
      if (interval == 0) interval = kIntervalForZero;
      g_.IntervalSeconds = interval;
      g_.TickCount = CheckedMul<std::int32_t>(g_.IntervalSeconds, kTicksPerSecond);
      g_.ShortInterval = g_.IntervalSeconds <= kLongestShortInterval ? kTrue : kFalse;
      g_.AlarmLevel = alarmLevel;
    } else if (vm_.Single_mode.value) {
      g_.SingleMode = kTrue;
      g_.MeasureMode = kFalse;
      // One command per start: a pasted line break would make it several,
      // and the instrument's commands are a few characters long.
      const std::string& command = vm_.Txt_Command.text;
      if (command.find_first_of("\r\n") != std::string::npos) {
        throw HandlerError("The command holds a line break; send one command per start.");
      }
      if (command.size() > kMaxCommandLength) {
        throw HandlerError("The command is longer than " + std::to_string(kMaxCommandLength) +
                           " characters.");
      }
      g_.SingleCommandPending = kTrue;
      g_.PendingCommand = command + kCrLf;
    }
    StartLinkTimer();
  } catch (const std::exception& e) {
    ports_.messages.Show("Wrong Parameter !", e.what());
    CloseSocket();
    HaltPolling();
  }
}

void SvZRV_02::stop_Click() {
  g_.StopRequested = kTrue;
}

void SvZRV_02::Continue_mode_Click() {
  EnableModeFields(false);
}
void SvZRV_02::Single_mode_Click() {
  EnableModeFields(true);
}

void SvZRV_02::EnableModeFields(bool single) {
  vm_.Txt_Command.enabled = single;
  for (Control* field :
       {&vm_.Txt_Interval, &vm_.Txt_Alarm_level, &vm_.Txt_Save_File, &vm_.Drive1, &vm_.Dir1}) {
    field->enabled = !single;
  }
}

}  // namespace zrv
