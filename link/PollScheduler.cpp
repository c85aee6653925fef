// Timer1's tick: the only place where anything is sent. Each tick does at
// most one thing, chosen by a fixed priority, and never waits; time is
// counted in ticks.
#include "core/CheckedMath.h"
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {

void SvZRV_02::Timer1_Timer() {
  if (g_.VersionPending == 1) {
    SendCommand(g_.PendingCommand, Awaited::Version);
  } else if (g_.ReadoutStep >= kReadoutQueued && g_.ReadoutStep <= kReadoutHysteresisSent) {
    // Each query waits for the reply to the one before, so every reply lands
    // in its own field however late it comes within the reply time-out.
    const ReplyWait wait =
        g_.ReadoutStep == kReadoutQueued ? ReplyWait::Answered : WaitForOwedReplies();
    if (wait == ReplyWait::Waiting) return;
    const std::int16_t next = Inc16(g_.ReadoutStep);
    const Awaited answers = next == kReadoutThresholdSent    ? Awaited::Threshold
                            : next == kReadoutHysteresisSent ? Awaited::Hysteresis
                                                             : Awaited::EmailState;
    // A query that timed out or did not go out has no reply to wait for:
    // stepping on would take whatever the instrument says next as a setting.
    if (wait == ReplyWait::Answered && SendCommand(g_.PendingCommand, answers)) {
      g_.ReadoutStep = next;
    } else {
      AbandonReadout();
    }
  } else if (g_.EmailSwitchPending == 1) {
    const bool sent = SendCommand(g_.PendingCommand, Awaited::Setting);
    g_.EmailSwitchPending = 0;
    // The button shows what the instrument was told: a failed send leaves
    // it as it was, and a read-out reply that came in between does not
    // turn the meaning of the click around.
    if (sent) ShowEmailState(g_.PendingCommand == kEmailOn);
  } else if (g_.ParamSetPending == 1) {
    SendCommand(g_.PendingCommand, Awaited::Setting);
    g_.ParamSetPending = 0;
  } else if (g_.SingleCommandPending == kTrue) {
    if (!g_.PendingCommand.empty()) {
      SendCommand(g_.PendingCommand, Awaited::Single);
      g_.SingleCommandPending = kFalse;
    }
  } else if (g_.ContinuousRun == kTrue) {
    PollCycle();
  } else if (g_.VersionPending == 0 && g_.ReadoutStep == kReadoutIdle) {
    // The last pair of a run that was stopped is still let in; an
    // acknowledgement or a Single reply holds the link no longer than one
    // that comes at once.
    if (!MeasurementOwed() || WaitForOwedReplies() != ReplyWait::Waiting) IdleStop();
  } else if (WaitForOwedReplies() != ReplyWait::Waiting) {
    // The e-mail state reply of the read-out did not come in time.
    AbandonReadout();
  }
}

bool SvZRV_02::MeasurementOwed() const {
  const std::optional<Awaited> oldest = g_.Owed.Oldest();
  return oldest == Awaited::Purity || oldest == Awaited::Temperature;
}

SvZRV_02::ReplyWait SvZRV_02::WaitForOwedReplies() {
  if (g_.Owed.Empty()) return ReplyWait::Answered;
  g_.ReplyDueTicks = Inc16(g_.ReplyDueTicks);
  if (g_.ReplyDueTicks < kReplyTimeoutTicks) return ReplyWait::Waiting;
  g_.Owed.Forget();
  return ReplyWait::TimedOut;
}

void SvZRV_02::IdleStop() {
  ports_.Timer1.SetEnabled(false);
  CloseSocket();
  g_.LinkOpen = kFalse;
  vm_.TCP_Condition.backColor = kWhite;
  vm_.start.enabled = true;
}

void SvZRV_02::PollCycle() {
  const std::int32_t limit = CheckedMul<std::int32_t>(g_.IntervalSeconds, kTicksPerSecond);
  if (g_.TickCount >= limit) {
    g_.PollPhase = kPurityDue;
    g_.TickCount = 0;
  }
  g_.TickCount = Inc32(g_.TickCount);

  switch (g_.PollPhase) {
    case kPurityDue:
      if (g_.PurityReceived == kTrue) {
        // The temperature reply of the previous pair is still outstanding.
        WaitStep();
        return;
      }
      g_.WaitTicks = 0;
      g_.PendingCommand = kPurityQuery;
      SendCommand(g_.PendingCommand, Awaited::Purity);
      if (g_.SendFailed != kTrue) {
        g_.PollPhase = Dec16(g_.PollPhase);
      } else {
        ConnectSocket();
        g_.LinkOpen = kTrue;
      }
      return;
    case kTempDue:
      if (g_.PurityReceived != kTrue) {
        WaitStep();
        return;
      }
      g_.WaitTicks = 0;
      g_.PendingCommand = kTempQuery;
      SendCommand(g_.PendingCommand, Awaited::Temperature);
      if (g_.SendFailed != kTrue) {
        g_.PollPhase = Dec16(g_.PollPhase);
      } else {
        // The link dropped in mid-pair: the pair is lost, the run is not.
        // The next tick starts it again with "PURITY?" on a new connection.
        g_.PurityReceived = kFalse;
        g_.PollPhase = kPurityDue;
        ConnectSocket();
        g_.LinkOpen = kTrue;
      }
      if (g_.StopRequested == kTrue) {
        g_.ContinuousRun = kFalse;
        g_.AlarmActive = kFalse;
      }
      return;
    case kBetweenPolls:
      if (g_.ShortInterval != 0) return;
      if (g_.StopRequested == kTrue) {
        g_.ContinuousRun = kFalse;
        g_.AlarmActive = kFalse;
      } else if (g_.LinkOpen == kTrue) {
        // The temperature reply is on its way.
        if (WaitForOwedReplies() == ReplyWait::Waiting) return;
        CloseSocket();
        g_.LinkOpen = kFalse;
        vm_.TCP_Condition.backColor = kWhite;
      } else if (g_.TickCount >= limit) {
        // One tick before the next purity query, so the connect can complete.
        ConnectSocket();
        g_.LinkOpen = kTrue;
      }
      return;
    default:
      return;
  }
}

void SvZRV_02::WaitStep() {
  // A waiting tick does not advance the interval.
  g_.TickCount = Dec32(g_.TickCount);
  g_.WaitTicks = Inc16(g_.WaitTicks);
  if (g_.WaitTicks != kReplyTimeoutTicks) return;

  g_.WaitTicks = 0;
  g_.NoReplyCount = Inc16(g_.NoReplyCount);
  ++counters_.replyTimeouts;
  if (g_.NoReplyCount == kTimeoutsPerRun) {
    g_.NoReplyCount = 0;
    ports_.messages.Show("no response from the host !",
                         LinkName() + ": no reply within " +
                             std::to_string(kReplyTimeoutTicks * kTickMs / 1000) + " s, " +
                             std::to_string(kTimeoutsPerRun) + " times in a row");
    CloseSocket();
    HaltPolling();
    return;
  }
  GiveUpPair();
}

void SvZRV_02::GiveUpPair() {
  // On a new connection, so that a reply given up on can never come back as
  // the answer to a later query; the next tick starts the pair again with
  // "PURITY?".
  CloseSocket();
  ConnectSocket();
  g_.LinkOpen = kTrue;
  g_.WaitTicks = 0;
  g_.SendRetries = 0;
  g_.SendFailed = kFalse;
  g_.PurityReceived = kFalse;
  g_.TickCount = CheckedMul<std::int32_t>(g_.IntervalSeconds, kTicksPerSecond);
}

}  // namespace zrv
