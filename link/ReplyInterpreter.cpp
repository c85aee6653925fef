// Every block the instrument sends is one reply: it is routed by the
// controller state alone (only the e-mail alarm notice is known by its
// text), and a reply that completes a record goes to the log and then to the
// history view.
#include "app/SvZRV_02.h"
#include "link/CheckedMath.h"
#include "link/Commands.h"

namespace zrv {
namespace {

// The reply without its last `drop` characters; empty when it is shorter.
std::string CutTail(const std::string& reply, std::size_t drop) {
  return reply.size() < drop ? std::string() : reply.substr(0, reply.size() - drop);
}

}  // namespace

void SvZRV_02::tcpclient_DataArrival(std::int32_t /*bytesTotal*/) {
  std::string reply = ports_.tcpclient.GetData();
  // The notice comes unasked and answers nothing.
  if (g_.RepliesDue > 0 && reply != kEmailAlarmNotice) g_.RepliesDue = Dec16(g_.RepliesDue);

  if (g_.VersionPending == 1) {
    VersionReply(reply);
  } else if (g_.ReadoutStep == 2 || g_.ReadoutStep == 3 || g_.ReadoutStep == 4) {
    ReadoutReply(reply);
  } else if (reply == kEmailAlarmNotice) {
    g_.EmailAlarmReceived = 1;
  } else {
    InterpretGeneralReply(reply);
  }

  const bool record =
      g_.ReplyHandled == 0 &&
      (g_.SingleMode == kTrue || g_.PurityReceived == kTrue || g_.EmailAlarmReceived != 0);
  if (record) {
    FormRecord(reply);
  } else {
    g_.PurityReceived = kTrue;
  }
  g_.ReplyHandled = 0;
  g_.EmailAlarmReceived = 0;
}

void SvZRV_02::InterpretGeneralReply(std::string& reply) {
  if (g_.MeasureMode != kTrue) return;
  if (g_.PurityReceived == kFalse) {
    g_.PurityReply = reply;
    g_.PurityText = CutTail(g_.PurityReply, 3);  // "%" and CR LF
    // Only the event that took the purity reply evaluates the alarm.
    EvaluatePurityAlarm();
  } else {
    g_.TempReply = reply;
    g_.TempText = CutTail(g_.TempReply, 5);  // "DEG" and CR LF
    reply = g_.PurityText + " " + g_.TempText + " %&DEG" + kCrLf;
  }
}

void SvZRV_02::FormRecord(const std::string& reply) {
  g_.RecordText += reply;
  g_.RecordTime = ports_.clock.Stamp();
  counters_.CountRecord(g_);
  AppendLogLine(g_.RecordText, g_.RecordTime);
  AppendHistory();
  g_.RecordText.clear();
  g_.RecordTime.clear();
  AdvanceHistory();
  // A notice comes unasked: it must not cost the pair it may have
  // interrupted, so only measurement and Single replies reset the pairing.
  if (g_.EmailAlarmReceived == 0) g_.PurityReceived = kFalse;

  if (g_.LogWriteFailed == kTrue && g_.LogFailureReported == kFalse) {
    g_.LogFailureReported = kTrue;
    ports_.messages.Notify("Can't write log file !");
  }
}

}  // namespace zrv
