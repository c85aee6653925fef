// The controller state: the one memory shared by every event handler of the
// window. One handler leaves a request or a result here and a later event,
// usually the next tick of Timer1, acts on it.
//
// Widths and flag conventions are part of the contract: most flags are
// -1 (true) / 0 (false), four are 1 / 0 (marked below), and every handler
// compares with those exact values. Counters change only through the
// overflow-checked helpers of CheckedMath.h.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "core/AwaitedReplies.h"

namespace zrv {

constexpr std::int16_t kTrue = -1;  // for the -1/0 flags, always tested against kTrue
constexpr std::int16_t kFalse = 0;
constexpr std::size_t kHistorySlots = 100;
constexpr std::int16_t kLastHistorySlot = kHistorySlots - 1;

// Time is counted in ticks of Timer1.
constexpr int kTickMs = 200;
constexpr std::int32_t kTicksPerSecond = 5;
constexpr std::int16_t kReplyTimeoutTicks = 25;
constexpr std::int16_t kTimeoutsPerRun = 5;  // in a row: the instrument stopped answering
// Failed sends of a Continue run's queries retried in silence, about 20 s.
constexpr std::int16_t kSilentRetries = 100;
// Pairs lost in a row to the instrument closing the link: the link is not usable.
constexpr std::int16_t kDropsPerRun = 5;
// Records held while the log cannot be written: more than a day of one-second
// records; past it the oldest held record gives way.
constexpr std::size_t kMaxHeldRecords = 100000;

// PollPhase: where the poll cycle of a Continue run stands.
constexpr std::int16_t kBetweenPolls = 0;
constexpr std::int16_t kTempDue = 1;    // "PURITY?" sent, "TEMP?" next
constexpr std::int16_t kPurityDue = 2;  // the interval is over

// ReadoutStep: the settings read-out of firmware 1.2 and later.
constexpr std::int16_t kReadoutIdle = 0;
constexpr std::int16_t kReadoutQueued = 1;  // "THRESHOLD?" waits for its tick
constexpr std::int16_t kReadoutThresholdSent = 2;
constexpr std::int16_t kReadoutHysteresisSent = 3;
constexpr std::int16_t kReadoutEmailSent = 4;

struct SvGlobal01B {
  // Link and transmission
  std::string HostAddress;
  std::int16_t HostPort = 0;
  std::int16_t LinkOpen = 0;
  std::string PendingCommand;
  std::int16_t SendFailed = 0;
  std::int16_t SendRetries = 0;
  // Replies still owed by the instrument on this connection, and the ticks
  // waited for them since the last transmission (counted afresh at each):
  // the link is not closed under a reply that is on its way, but for no
  // longer than a reply time-out.
  AwaitedReplies Owed;
  std::int16_t ReplyDueTicks = 0;

  // Run control
  std::int16_t ContinuousRun = 0;
  std::int16_t SingleCommandPending = 0;
  std::int16_t SingleMode = 0;
  std::int16_t MeasureMode = 0;
  std::int16_t StopRequested = 0;
  std::int32_t IntervalSeconds = 0;
  std::int16_t ShortInterval = 0;
  std::int16_t AlarmLevel = 0;

  // Poll cycle
  std::int32_t TickCount = 0;
  std::int16_t PollPhase = 0;
  std::int16_t PurityReceived = 0;
  std::int16_t WaitTicks = 0;
  std::int16_t NoReplyCount = 0;  // time-outs since the last record
  std::int16_t LinkDrops = 0;     // pairs lost to a closed link since the last record
  std::int16_t AlarmActive = 0;
  std::int16_t BlinkState = 0;

  // Replies, records and the log
  std::string PurityReply;
  std::string TempReply;
  std::string PurityText;
  std::string TempText;
  std::string LogPath;
  std::int16_t LogEnabled = 0;
  std::array<std::string, kHistorySlots> HistoryLines;
  std::int16_t HistoryCount = 0;
  std::int16_t HistoryFull = 0;
  // The log cannot be written at the moment, and whether the operator has
  // been told of this outage; both cleared once a record reaches the file
  // again, so each outage is reported once, not once per record.
  std::int16_t LogWriteFailed = 0;
  std::int16_t LogFailureReported = 0;
  // Record lines, stamps included, that wait for the log to come back; they
  // are written, in order, before the next record that can be written.
  std::deque<std::string> HeldRecords;

  // Instrument settings
  std::int16_t VersionPending = 0;  // 1/0
  std::int16_t ReadoutStep = 0;
  std::int16_t EmailSwitchPending = 0;  // 1/0
  std::int16_t ParamSetPending = 0;     // 1/0
  std::int16_t EmailEnabled = 0;        // 1/0
};

}  // namespace zrv
