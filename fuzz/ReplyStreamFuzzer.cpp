// A misbehaving instrument: arbitrary bytes, cut into arbitrary segments,
// arriving in every state the operator can bring the controller into, with
// ticks, stops and clears in between. After every event the controller state
// must still make sense; a broken invariant aborts with its name.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "link/ReplyFramer.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

constexpr std::size_t kMaxSegment = 512;
constexpr std::size_t kMaxReplyBytes = ReplyFramer::kMaxReplyBytes;

// One arrival of bytes on the socket, framed as the socket adapter frames it;
// `quiet` is the pause after it that delivers a line without its CR LF.
void DeliverSegment(Rig& rig, ReplyFramer& framer, const std::string& segment, bool quiet) {
  framer.Feed(segment);
  if (quiet) framer.FlushPartial();
  while (framer.HasReply()) rig.Reply(framer.TakeReply());
}

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// "yyyy/mm/dd hh:nn:ss " at the start of `line`.
bool StartsWithStamp(std::string_view line) {
  constexpr std::string_view shape = "dddd/dd/dd dd:dd:dd ";
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const bool digit = i < line.size() && line[i] >= '0' && line[i] <= '9';
    if (shape[i] == 'd' ? !digit : i >= line.size() || line[i] != shape[i]) return false;
  }
  const auto at = [&](std::size_t i) { return (line[i] - '0') * 10 + line[i + 1] - '0'; };
  return at(5) >= 1 && at(5) <= 12 && at(8) >= 1 && at(8) <= 31 && at(11) < 24 && at(14) < 60 &&
         at(17) < 60;
}

void CheckState(Rig& rig) {
  const SvGlobal01B& g = rig.g;
  for (std::int16_t f :
       {g.LinkOpen, g.SendFailed, g.ContinuousRun, g.SingleCommandPending, g.SingleMode,
        g.MeasureMode, g.StopRequested, g.ShortInterval, g.PurityReceived, g.AlarmActive,
        g.BlinkState, g.LogEnabled, g.HistoryFull, g.LogWriteFailed, g.LogFailureReported}) {
    Require(f == kTrue || f == kFalse, "-1/0 flag holds -1 or 0");
  }
  for (std::int16_t f : {g.VersionPending, g.EmailSwitchPending, g.ParamSetPending, g.EmailEnabled,
                         g.ReplyHandled, g.EmailAlarmReceived}) {
    Require(f == 0 || f == 1, "1/0 flag holds 1 or 0");
  }
  Require(g.HistoryCount >= 0 && g.HistoryCount <= 99, "HistoryCount 0..99");
  Require(g.ReadoutStep >= 0 && g.ReadoutStep <= 4, "ReadoutStep 0..4");
  Require(g.PollPhase >= 0 && g.PollPhase <= 2, "PollPhase 0..2");
  Require(g.WaitTicks >= 0 && g.WaitTicks < 25, "WaitTicks below the time-out");
  Require(g.NoReplyCount >= 0 && g.NoReplyCount < 5, "NoReplyCount below the limit");
  Require(g.SendRetries >= 0 && g.SendRetries < 100, "SendRetries below the limit");
  if (g.ContinuousRun == kTrue) {
    Require(g.TickCount >= 0 && g.TickCount <= g.IntervalSeconds * 5, "TickCount within interval");
  }
  Require(g.RecordText.empty() && g.RecordTime.empty(), "no record left half-formed");
  Require(rig.vm.Label10.text.size() <= 4, "version shown in at most 4 characters");
  for (const Control* c : {&rig.vm.Txt_Theshold, &rig.vm.Txt_Hysteresis}) {
    Require(c->text.size() <= 2 && c->text.find_first_of("\r\n") == std::string::npos,
            "read-out value: two characters, no line end");
  }

  // The box shows exactly the filled slots; each is a stamped, bounded line.
  const std::size_t filled = g.HistoryFull == kTrue ? kHistorySlots : g.HistoryCount;
  std::string shown;
  for (std::size_t i = 0; i < kHistorySlots; ++i) {
    const std::string& line = g.HistoryLines[i];
    if (i >= filled) {
      Require(line.empty(), "slots past the count are empty");
      continue;
    }
    Require(StartsWithStamp(line), "history line starts with its time stamp");
    Require(line.size() <= 20 + 2 * kMaxSegment + 8, "history line bounded");
    shown += line;
  }
  Require(rig.vm.TxtBox_Reply.text == shown, "box shows the history slots in order");
}

// Every line in `text` is a stamped record of bounded length.
void CheckFramedRecords(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find("\r\n", at);
    end = end == std::string::npos ? text.size() : end + 2;
    const std::string_view line(text.data() + at, end - at);
    Require(StartsWithStamp(line), "every record line starts with its time stamp");
    Require(line.size() <= 20 + 2 * kMaxReplyBytes + 8,
            "no record longer than the framing maximum");
    at = end;
  }
}

std::string Stamp(int n) {
  char text[64];
  std::snprintf(text, sizeof text, "2026/12/07 %02d:%02d:%02d", n / 3600 % 24, n / 60 % 60, n % 60);
  return text;
}

void SetUp(Rig& rig, FuzzedDataProvider& in) {
  rig.vm.HostIPEdit.text = "127.0.0.1";
  static const char* const kFirmware[] = {"1.00\r\n", "1.10\r\n", "1.20\r\n"};
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:  // version asked, not yet answered
      rig.w.Version_Check_Click();
      rig.Tick();
      return;
    case 1:  // a version accepted; on 1.20 the read-out is under way
      rig.AcceptVersion(kFirmware[in.ConsumeIntegralInRange(0, 2)]);
      return;
    case 2:
    case 3:
      rig.AcceptVersion();
      rig.StartContinue(std::to_string(in.ConsumeIntegralInRange(0, 12)));
      break;
    default:
      rig.AcceptVersion();
      rig.StartSingle(in.ConsumeRandomLengthString(16));
      break;
  }
  rig.Tick();
}

}  // namespace
}  // namespace zrv::test

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterTempWorkDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Rig rig;
  ReplyFramer framer;
  int clock = 0;
  rig.clock.stamp = Stamp(clock);
  SetUp(rig, in);
  const std::string logPath = rig.vm.Dir1.text + "/zrv-02.log";
  std::string log = ReadFileBytes(logPath);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0: {
        rig.clock.stamp = Stamp(++clock);  // marks the records of this arrival
        const bool quiet = in.ConsumeBool();
        DeliverSegment(rig, framer, in.ConsumeRandomLengthString(kMaxSegment), quiet);
        std::string fresh;
        for (const std::string& line : rig.g.HistoryLines) {
          if (line.starts_with(rig.clock.stamp + " ")) fresh += line;
        }
        const std::string now = ReadFileBytes(logPath);
        const bool logging = rig.g.MeasureMode == kTrue && rig.g.LogEnabled == kTrue;
        Require(now == (logging ? log + fresh : log),
                "the log gains the records the history gains");
        log = now;
        CheckFramedRecords(log);
        for (const std::string& line : rig.g.HistoryLines) CheckFramedRecords(line);
        break;
      }
      case 1:
        for (int n = in.ConsumeIntegralInRange(1, 30); n > 0; --n) {
          rig.Tick();
          rig.w.Timer2_Timer();
          CheckState(rig);
        }
        break;
      case 2:
        rig.w.stop_Click();
        break;
      case 3:
        rig.w.clear_Click();
        break;
      default:  // the instrument drops the link; the reconnect may or may not come up
        rig.socket.connected = false;
        rig.socket.connectsImmediately = in.ConsumeBool();
        break;
    }
    CheckState(rig);
  }
  return 0;
}
