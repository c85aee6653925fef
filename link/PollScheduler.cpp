// Timer1's tick: the only place where anything is sent. Each tick does at
// most one thing, chosen by a fixed priority, and never waits; time is
// counted in ticks.
#include "core/CheckedMath.h"
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {

namespace {

// The read-out's queries in turn: the step at which each goes out, the step
// it leaves behind, and the reply it is owed.
struct ReadoutQuery {
  std::int16_t at, next;
  Awaited answer;
};
constexpr ReadoutQuery kReadoutQueries[] = {
    {kReadoutQueued, kReadoutThresholdSent, Awaited::kThreshold},
    {kReadoutThresholdSent, kReadoutHysteresisSent, Awaited::kHysteresis},
    {kReadoutHysteresisSent, kReadoutEmailSent, Awaited::kEmailState},
};

}  // namespace

void SvZRV_02::Timer1_Timer() {
  for (const TickRow& row : kTickRows) {
    if (row.due(g_)) return (this->*row.serve)();
  }
}

bool SvZRV_02::CommandWaits() const {
  for (const TickRow& row : kTickRows) {
    if (row.holdsSlot && row.due(g_)) return true;
  }
  return false;
}

bool SvZRV_02::ReadoutQueryDue(const SvGlobal01B& g) {
  for (const ReadoutQuery& query : kReadoutQueries) {
    if (query.at == g.ReadoutStep) return true;
  }
  return false;
}

void SvZRV_02::SendVersionQuery() {
  SendCommand(g_.PendingCommand, Awaited::kVersion);
}

void SvZRV_02::SendReadoutQuery() {
  const ReadoutQuery* query = kReadoutQueries;
  while (query->at != g_.ReadoutStep) ++query;
  // Each query waits for the reply to the one before, so every reply lands
  // in its own field however late it comes within the reply time-out.
  const ReplyWait wait = query == kReadoutQueries ? ReplyWait::kAnswered : WaitForOwedReplies();
  if (wait == ReplyWait::kWaiting) return;
  // A query that timed out or did not go out has no reply to wait for:
  // stepping on would take whatever the instrument says next as a setting.
  if (wait == ReplyWait::kAnswered && SendCommand(g_.PendingCommand, query->answer)) {
    g_.ReadoutStep = query->next;
  } else {
    AbandonReadout();
  }
}

void SvZRV_02::SendEmailSwitch() {
  const bool sent = SendCommand(g_.PendingCommand, Awaited::kSetting);
  g_.EmailSwitchPending = 0;
  // The button shows what the instrument was told: a failed send leaves
  // it as it was, and a read-out reply that came in between does not
  // turn the meaning of the click around.
  if (sent) ShowEmailState(g_.PendingCommand == kEmailOn);
}

void SvZRV_02::SendParamSet() {
  SendCommand(g_.PendingCommand, Awaited::kSetting);
  g_.ParamSetPending = 0;
}

void SvZRV_02::SendSingleCommand() {
  if (g_.PendingCommand.empty()) return;
  SendCommand(g_.PendingCommand, Awaited::kSingle);
  g_.SingleCommandPending = kFalse;
}

void SvZRV_02::LetTheLinkGo() {
  // The last pair of a run that was stopped is still let in; an
  // acknowledgement or a Single reply holds the link no longer than one
  // that comes at once.
  if (!MeasurementOwed() || WaitForOwedReplies() != ReplyWait::kWaiting) IdleStop();
}

void SvZRV_02::AwaitEmailState() {
  // Given up when the e-mail state reply of the read-out does not come in time.
  if (WaitForOwedReplies() != ReplyWait::kWaiting) AbandonReadout();
}

bool SvZRV_02::MeasurementOwed() const {
  const std::optional<Awaited> oldest = g_.Owed.Oldest();
  return oldest == Awaited::kPurity || oldest == Awaited::kTemperature;
}

SvZRV_02::ReplyWait SvZRV_02::WaitForOwedReplies() {
  if (g_.Owed.Empty()) return ReplyWait::kAnswered;
  g_.ReplyDueTicks = Inc16(g_.ReplyDueTicks);
  if (g_.ReplyDueTicks < kReplyTimeoutTicks) return ReplyWait::kWaiting;
  g_.Owed.Forget();
  return ReplyWait::kTimedOut;
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
      SendCommand(g_.PendingCommand, Awaited::kPurity);
      if (g_.SendFailed != kTrue) {
        g_.PollPhase = kTempDue;
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
      SendCommand(g_.PendingCommand, Awaited::kTemperature);
      if (g_.SendFailed != kTrue) {
        g_.PollPhase = kBetweenPolls;
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
        if (WaitForOwedReplies() == ReplyWait::kWaiting) return;
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
