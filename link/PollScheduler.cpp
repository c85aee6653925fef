// Timer1's tick: the only place where anything is sent. Each tick does at
// most one thing, chosen by a fixed priority, and never waits; time is
// counted in 200 ms ticks.
#include "app/SvZRV_02.h"
#include "link/CheckedMath.h"
#include "link/Commands.h"

namespace zrv {
namespace {

constexpr std::int16_t kReplyTimeoutTicks = 25;
constexpr std::int16_t kTimeoutsPerRun = 5;
constexpr std::int32_t kTicksPerSecond = 5;

}  // namespace

void SvZRV_02::Timer1_Timer() {
  if (g_.VersionPending == 1) {
    SendCommand(g_.PendingCommand);
  } else if (g_.ReadoutStep == 1 || g_.ReadoutStep == 2 || g_.ReadoutStep == 3) {
    const std::int16_t next = Inc16(g_.ReadoutStep);
    // A query that did not go out has no reply to wait for: stepping on
    // would take whatever the instrument says next as a setting.
    if (SendCommand(g_.PendingCommand)) {
      g_.ReadoutStep = next;
    } else {
      AbandonReadout();
    }
  } else if (g_.EmailSwitchPending == 1) {
    const bool sent = SendCommand(g_.PendingCommand);
    g_.EmailSwitchPending = 0;
    // The button shows what the instrument was told: a failed send leaves
    // it as it was, and a read-out reply that came in between does not
    // turn the meaning of the click around.
    if (sent) ShowEmailState(g_.PendingCommand == kEmailOn);
  } else if (g_.ParamSetPending == 1) {
    SendCommand(g_.PendingCommand);
    g_.ParamSetPending = 0;
  } else if (g_.SingleCommandPending == kTrue) {
    if (!g_.PendingCommand.empty()) {
      SendCommand(g_.PendingCommand);
      g_.SingleCommandPending = kFalse;
    }
  } else if (g_.ContinuousRun == kTrue) {
    PollCycle();
  } else if (g_.VersionPending == 0 && g_.ReadoutStep == 0) {
    if (!ReplyStillDue()) IdleStop();
  } else if (!ReplyStillDue()) {
    // The e-mail state reply of the read-out did not come in time.
    AbandonReadout();
  }
}

bool SvZRV_02::ReplyStillDue() {
  if (g_.RepliesDue > 0) {
    g_.ReplyDueTicks = Inc16(g_.ReplyDueTicks);
    if (g_.ReplyDueTicks < kReplyTimeoutTicks) return true;
  }
  g_.RepliesDue = 0;
  g_.ReplyDueTicks = 0;
  return false;
}

void SvZRV_02::IdleStop() {
  ports_.Timer1.SetEnabled(false);
  ports_.tcpclient.Close();
  g_.LinkOpen = kFalse;
  vm_.TCP_Condition.backColor = kWhite;
  vm_.start.enabled = true;
}

void SvZRV_02::PollCycle() {
  const std::int32_t limit = CheckedMul<std::int32_t>(g_.IntervalSeconds, kTicksPerSecond);
  if (g_.TickCount >= limit) {
    g_.PollPhase = 2;
    g_.TickCount = 0;
  }
  g_.TickCount = Inc32(g_.TickCount);

  switch (g_.PollPhase) {
    case 2:
      if (g_.PurityReceived != kFalse) {
        // The temperature reply of the previous pair is still outstanding.
        WaitStep(limit);
        return;
      }
      g_.WaitTicks = 0;
      g_.PendingCommand = kPurityQuery;
      SendCommand(g_.PendingCommand);
      if (g_.SendFailed == kFalse) {
        g_.PollPhase = Dec16(g_.PollPhase);
      } else {
        ports_.tcpclient.Connect();
        g_.LinkOpen = kTrue;
      }
      return;
    case 1:
      if (g_.PurityReceived != kTrue) {
        WaitStep(limit);
        return;
      }
      g_.WaitTicks = 0;
      g_.PendingCommand = kTempQuery;
      SendCommand(g_.PendingCommand);
      g_.PollPhase = Dec16(g_.PollPhase);
      if (g_.StopRequested == kTrue) {
        g_.ContinuousRun = kFalse;
        g_.AlarmActive = kFalse;
      }
      return;
    case 0:
      if (g_.ShortInterval != 0) return;
      if (g_.StopRequested == kTrue) {
        g_.ContinuousRun = kFalse;
        g_.AlarmActive = kFalse;
      } else if (g_.LinkOpen == kTrue) {
        if (ReplyStillDue()) return;  // the temperature reply is on its way
        ports_.tcpclient.Close();
        g_.LinkOpen = kFalse;
        vm_.TCP_Condition.backColor = kWhite;
      } else if (g_.TickCount >= limit) {
        // One tick before the next purity query, so the connect can complete.
        ports_.tcpclient.Connect();
        g_.LinkOpen = kTrue;
      }
      return;
    default:
      return;
  }
}

void SvZRV_02::WaitStep(std::int32_t limit) {
  // A waiting tick does not advance the interval.
  g_.TickCount = Dec32(g_.TickCount);
  g_.WaitTicks = Inc16(g_.WaitTicks);
  if (g_.WaitTicks != kReplyTimeoutTicks) return;

  g_.WaitTicks = 0;
  g_.NoReplyCount = Inc16(g_.NoReplyCount);
  ++counters_.reply_timeouts;
  if (g_.NoReplyCount == kTimeoutsPerRun) {
    g_.NoReplyCount = 0;
    ports_.messages.Show("no response from the host !");
    ports_.tcpclient.Close();
    HaltPolling();
    return;
  }
  // Abandon the pair: the next tick starts it again with "PURITY?".
  g_.SendRetries = 0;
  g_.SendFailed = kFalse;
  g_.PurityReceived = kFalse;
  g_.TickCount = limit;
}

}  // namespace zrv
