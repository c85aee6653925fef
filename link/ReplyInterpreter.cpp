// Every line the instrument sends is one reply. It answers the oldest command
// still unanswered (see AwaitedReplies.h), and that command decides what it
// is; only the e-mail alarm notice is known by its text. A measurement pair
// and a notice become a record for the log and the history; anything else
// the instrument says outside a Single run is shown in the history as it
// came and never logged or paired.
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// The reply without its last `drop` characters; empty when it is shorter.
std::string CutTail(const std::string& reply, std::size_t drop) {
  return reply.size() < drop ? std::string() : reply.substr(0, reply.size() - drop);
}

// One record is one line: a CR or LF inside it would split it in the log and
// the history, so it is shown as "?", and a text cut off before its line end
// gets one.
std::string AsOneLine(std::string text) {
  const bool ended = text.size() >= 2 && text.compare(text.size() - 2, 2, kCrLf) == 0;
  if (ended) text.resize(text.size() - 2);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = '?';
  }
  return text + kCrLf;
}

}  // namespace

void SvZRV_02::tcpclient_DataArrival(std::int32_t /*bytesTotal*/) {
  const std::string reply = ports_.tcpclient.GetData();
  const bool notice = reply == kEmailAlarmNotice;
  // The notice comes unasked and answers nothing: it stays out of the queue.
  const std::optional<Awaited> answers = notice ? std::nullopt : g_.Owed.Take();

  if (g_.VersionPending == 1) {
    // Until a version is accepted, whatever comes is read as one.
    VersionReply(reply);
  } else if (notice && g_.ReadoutStep >= kReadoutThresholdSent) {
    // A read-out query takes whatever comes next; its own reply still counts.
    ReadoutReply(g_.ReadoutStep, reply);
  } else if (answers == Awaited::Threshold) {
    ReadoutReply(kReadoutThresholdSent, reply);
  } else if (answers == Awaited::Hysteresis) {
    ReadoutReply(kReadoutHysteresisSent, reply);
  } else if (answers == Awaited::EmailState) {
    ReadoutReply(kReadoutEmailSent, reply);
  } else if (answers == Awaited::Purity) {
    TakePurityReply(reply);
  } else if (answers == Awaited::Temperature) {
    TakeTemperatureReply(reply);
  } else if (notice) {
    g_.EmailAlarmReceived = 1;
    // A record of its own, which does not cost the pair it may have interrupted.
    FormRecord(reply, true);
  } else if (answers != Awaited::Version) {
    // The operator's command, a setting's acknowledgement or a line nobody
    // asked for: shown as it came; later answers to a repeated version query
    // change nothing.
    FormRecord(reply, false);
  }
  g_.ReplyHandled = 0;
  g_.EmailAlarmReceived = 0;
}

void SvZRV_02::TakePurityReply(const std::string& reply) {
  g_.NoReplyCount = 0;
  g_.PurityReply = reply;
  g_.PurityText = CutTail(g_.PurityReply, 3);  // "%" and CR LF
  EvaluatePurityAlarm();
  g_.PurityReceived = kTrue;
}

void SvZRV_02::TakeTemperatureReply(const std::string& reply) {
  g_.NoReplyCount = 0;
  g_.TempReply = reply;
  g_.TempText = CutTail(g_.TempReply, 5);  // "DEG" and CR LF
  FormRecord(g_.PurityText + " " + g_.TempText + " %&DEG" + kCrLf, true);
  g_.PurityReceived = kFalse;
}

void SvZRV_02::FormRecord(const std::string& text, bool logged) {
  g_.RecordText += AsOneLine(text);
  g_.RecordTime = ports_.clock.Stamp();
  if (logged) {
    counters_.CountRecord(g_);
    AppendLogLine(g_.RecordText, g_.RecordTime);
  }
  AppendHistory();
  g_.RecordText.clear();
  g_.RecordTime.clear();
  AdvanceHistory();
  ReportLogOutage();
}

}  // namespace zrv
