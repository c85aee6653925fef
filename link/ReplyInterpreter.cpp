// Every line the instrument sends is one reply. It answers the oldest command
// still unanswered (see AwaitedReplies.h), and that command decides what it
// is; only the e-mail alarm notice is known by its text, wherever it comes.
// A measurement pair and a notice become a record for the log and the
// history; anything else the instrument says outside a Single run is shown in
// the history as it came and never logged or paired.
//
// A reply without its line end is a cut one (see ReplyFramer.h): a value is
// never read from it, as characters that never came would be missing from it.
#include "core/Commands.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// The reply without its last `drop` characters; empty when it is shorter.
std::string CutTail(const std::string& reply, std::size_t drop) {
  return reply.size() < drop ? std::string() : reply.substr(0, reply.size() - drop);
}

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One record is one line: a CR or LF inside it would split it in the log and
// the history, so it is shown as "?", and a text cut off before its line end
// gets one.
std::string AsOneLine(std::string text) {
  if (EndsWith(text, kCrLf)) text.resize(text.size() - 2);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = '?';
  }
  return text + kCrLf;
}

}  // namespace

void SvZRV_02::tcpclient_DataArrival(std::int32_t /*bytesTotal*/) {
  const std::string reply = ports_.tcpclient.GetData();
  if (reply == kEmailAlarmNotice) {
    // Unasked, it answers nothing and stays out of the queue; a record of its
    // own, which does not cost a pair or a read-out it may have interrupted.
    FormRecord(reply, true);
    ++counters_.emailAlarmNotices;
    return;
  }
  const bool cut = !EndsWith(reply, kCrLf);
  std::optional<Awaited> owed = g_.Owed.Take();
  // Until a version is accepted, whatever comes is read as one.
  if (g_.VersionPending == 1) owed = Awaited::kVersion;
  if (!owed) {
    FormRecord(reply, false);  // a line nobody asked for: shown as it came
    return;
  }
  switch (*owed) {
    case Awaited::kVersion:
      // A cut reply is not recognised, and the query goes out again; the
      // answers to a query repeated before the first was answered change nothing.
      if (g_.VersionPending == 1 && !cut) VersionReply(reply);
      break;
    case Awaited::kThreshold:
    case Awaited::kHysteresis:
    case Awaited::kEmailState:
      if (cut) {
        AbandonReadout();
      } else {
        ReadoutReply(*owed, reply);
      }
      break;
    case Awaited::kPurity:
      // A temperature reply here would be one from a pair given up on.
      if (cut || EndsWith(reply, kTemperatureTail)) {
        RefusePairReply(reply);
      } else {
        TakePurityReply(reply);
      }
      break;
    case Awaited::kTemperature:
      if (cut || HasPurityShape(reply)) {
        RefusePairReply(reply);
      } else {
        TakeTemperatureReply(reply);
      }
      break;
    case Awaited::kSingle:
    case Awaited::kSetting:
      FormRecord(reply, false);
      break;
  }
}

void SvZRV_02::TakePurityReply(const std::string& reply) {
  g_.PurityReply = reply;
  g_.PurityText = CutTail(reply, kPurityTail.size());
  EvaluatePurityAlarm(reply);
  g_.PurityReceived = kTrue;
}

void SvZRV_02::TakeTemperatureReply(const std::string& reply) {
  // Only a whole pair shows that the instrument answers.
  g_.NoReplyCount = 0;
  g_.LinkDrops = 0;
  g_.TempReply = reply;
  g_.TempText = CutTail(reply, kTemperatureTail.size());
  const std::string stamp = FormRecord(g_.PurityText + " " + g_.TempText + " %&DEG" + kCrLf, true);
  counters_.CountMeasurement(g_.PurityText, g_.TempText, stamp);
  g_.PurityReceived = kFalse;
}

void SvZRV_02::RefusePairReply(const std::string& reply) {
  // No false record: shown as it came, and the pair is asked again.
  FormRecord(reply, false);
  g_.PurityReceived = kFalse;
  if (g_.ContinuousRun == kTrue) GiveUpPair();
}

std::string SvZRV_02::FormRecord(const std::string& text, bool logged) {
  const std::string recordText = AsOneLine(text);
  std::string recordTime = ports_.clock.Stamp();
  if (logged) AppendLogLine(recordText, recordTime);
  AppendHistory(recordTime + " " + recordText);
  AdvanceHistory();
  ReportLogOutage();
  return recordTime;
}

}  // namespace zrv
