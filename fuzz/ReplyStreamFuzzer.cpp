// A misbehaving instrument: arbitrary bytes, cut into arbitrary segments and
// framed as the socket adapter frames them, arriving in every state the
// operator can bring the controller into, with ticks, stops, clears and
// dropped links in between. After every event the state must still make sense.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/Require.h"
#include "link/ReplyFramer.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"
#include "trend/CivilTime.h"

namespace zrv::test {
namespace {

// Each line of `text` starts with a valid stamp and is no longer than a record
// of two framed replies.
void CheckRecordLines(std::string_view text) {
  for (std::size_t at = 0, end; at < text.size(); at = end) {
    end = text.find("\r\n", at);
    end = end == text.npos ? text.size() : end + 2;
    const std::string_view line = text.substr(at, end - at);
    Require(trend::ParseStamp(line.substr(0, 19)) && line.substr(19, 1) == " ",
            "every record line starts with its time stamp");
    Require(line.size() <= 20 + 2 * ReplyFramer::kMaxReplyBytes + 8,
            "no record longer than the framing maximum");
  }
}

void CheckState(Rig& rig) {
  const SvGlobal01B& g = rig.g;
  for (std::int16_t f :
       {g.LinkOpen, g.SendFailed, g.ContinuousRun, g.SingleCommandPending, g.SingleMode,
        g.MeasureMode, g.StopRequested, g.ShortInterval, g.PurityReceived, g.AlarmActive,
        g.BlinkState, g.LogEnabled, g.HistoryFull, g.LogWriteFailed, g.LogFailureReported})
    Require(f == kTrue || f == kFalse, "-1/0 flag holds -1 or 0");
  for (std::int16_t f : {g.VersionPending, g.EmailSwitchPending, g.ParamSetPending, g.EmailEnabled,
                         g.ReplyHandled, g.EmailAlarmReceived})
    Require(f == 0 || f == 1, "1/0 flag holds 1 or 0");
  Require(g.HistoryCount >= 0 && g.HistoryCount <= 99 && g.ReadoutStep >= 0 && g.ReadoutStep <= 4 &&
              g.PollPhase >= 0 && g.PollPhase <= 2 && g.WaitTicks >= 0 && g.WaitTicks < 25 &&
              g.NoReplyCount >= 0 && g.NoReplyCount < 5 && g.SendRetries >= 0 &&
              g.SendRetries < 100,
          "counters within their ranges");
  Require(g.ContinuousRun != kTrue || (g.TickCount >= 0 && g.TickCount <= g.IntervalSeconds * 5),
          "TickCount within interval");
  Require(g.RecordText.empty() && g.RecordTime.empty(), "no record left half-formed");
  Require(rig.vm.Label10.text.size() <= 4, "version shown in at most 4 characters");
  for (const Control* c : {&rig.vm.Txt_Theshold, &rig.vm.Txt_Hysteresis})
    Require(c->text.size() <= 2 && c->text.find_first_of("\r\n") == std::string::npos,
            "read-out value: two characters, no line end");
  const std::size_t filled = g.HistoryFull == kTrue ? kHistorySlots : g.HistoryCount;
  std::string shown;
  for (std::size_t i = 0; i < kHistorySlots; ++i) {
    Require(i < filled || g.HistoryLines[i].empty(), "slots past the count are empty");
    Require(i >= filled || !g.HistoryLines[i].empty(), "slots up to the count are filled");
    CheckRecordLines(g.HistoryLines[i]);
    shown += g.HistoryLines[i];
  }
  Require(rig.vm.TxtBox_Reply.text == shown, "box shows the history slots in order");
}

// Check pending; a version accepted (on 1.20 with the read-out under way); a
// Continue run; a Single run.
void SetUp(Rig& rig, FuzzedDataProvider& in) {
  rig.vm.HostIPEdit.text = "127.0.0.1";
  const int state = in.ConsumeIntegralInRange(0, 5);
  if (state == 0) rig.w.Version_Check_Click();
  if (state == 1) rig.AcceptVersion(in.PickValueInArray({"1.00\r\n", "1.10\r\n", "1.20\r\n"}));
  if (state >= 2) rig.AcceptVersion();
  if (state == 2 || state == 3) rig.StartContinue(std::to_string(in.ConsumeIntegralInRange(0, 12)));
  if (state >= 4) rig.StartSingle(in.ConsumeRandomLengthString(16));
  if (state != 1) rig.Tick();
}

}  // namespace
}  // namespace zrv::test

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Rig rig;
  ReplyFramer framer;
  trend::CivilSeconds clock = 1796601600;  // 2026/12/07 00:00:00, a second an arrival
  rig.clock.stamp = trend::FormatStamp(clock);
  SetUp(rig, in);
  const std::string logPath = rig.vm.Dir1.text + "/zrv-02.log";
  std::string log = ReadFileBytes(logPath);
  while (in.remaining_bytes() > 0) {
    const int event = in.ConsumeIntegralInRange(0, 4);
    if (event == 0) {  // one arrival, then maybe the pause that hands on a line without CR LF
      rig.clock.stamp = trend::FormatStamp(++clock);
      const bool quiet = in.ConsumeBool();
      framer.Feed(in.ConsumeRandomLengthString(512));
      if (quiet) framer.FlushPartial();
      while (framer.HasReply()) rig.Reply(framer.TakeReply());
      std::string fresh;
      for (const std::string& line : rig.g.HistoryLines)
        if (line.starts_with(rig.clock.stamp + " ")) fresh += line;
      const std::string now = ReadFileBytes(logPath);
      const bool logging = rig.g.MeasureMode == kTrue && rig.g.LogEnabled == kTrue;
      Require(now == (logging ? log + fresh : log), "the log gains the records the history gains");
      CheckRecordLines(log = now);
    }
    for (int n = event == 1 ? in.ConsumeIntegralInRange(1, 30) : 0; n > 0; --n) {
      rig.Tick();
      rig.w.Timer2_Timer();
      CheckState(rig);
    }
    if (event == 2) rig.w.stop_Click();
    if (event == 3) rig.w.clear_Click();
    if (event == 4) {  // the instrument drops the link; the reconnect may or may not come up
      rig.socket.connected = false;
      rig.socket.connectsImmediately = in.ConsumeBool();
    }
    CheckState(rig);
  }
  return 0;
}
