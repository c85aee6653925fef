// A misbehaving instrument: arbitrary bytes, cut into arbitrary segments and
// framed as the socket adapter frames them, arriving in every state the
// operator can bring the controller into, with ticks, stops, clears,
// dropped links and links the instrument closes in between. After every event the state must still
// make sense.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>

#include "fuzz/FuzzTarget.h"
#include "link/ReplyFramer.h"
#include "tests/support/FakePorts.h"
#include "trend/CivilTime.h"

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Rig rig;
  const SvGlobal01B& g = rig.g;
  ReplyFramer framer;
  rig.clock.stamp = "2026/12/07 00:00:00";  // a second later at each arrival
  // Check pending; a version accepted (on 1.20 with the read-out under way); a
  // Continue run; a Single run.
  rig.vm.Txt_Interval.text = std::to_string(in.ConsumeIntegralInRange(0, 12));
  rig.vm.Txt_Command.text = in.ConsumeRandomLengthString(16);
  rig.Run("HostIPEdit=127.0.0.1 check t" +
          std::string(in.PickValueInArray(
              {"", " <1.00 t", " <1.10 t", " <1.20 t", " <1.10 t start t", " <1.10 t single t"})));
  std::string log = ReadFileBytes("zrv-02.log");  // Dir1 is the working directory
  while (in.remaining_bytes() > 0) {
    const int event = in.ConsumeIntegralInRange(0, 6);
    if (event == 0) {  // one arrival, then maybe the pause that hands on a line cut
      rig.clock.stamp = trend::FormatStamp(*trend::ParseStamp(rig.clock.stamp) + 1);
      framer.Feed(in.ConsumeRandomLengthString(512));
      if (in.ConsumeBool()) framer.FlushPartial();
      while (framer.HasReply()) rig.Reply(framer.TakeReply());
      // The log grows by whole lines that the history gained too, each a pair or a notice.
      const std::string now = ReadFileBytes("zrv-02.log");
      Require(now.starts_with(log), "the log only grows");
      for (std::size_t at = log.size(), end; at < now.size(); at = end) {
        const std::string line = now.substr(at, (end = now.find("\r\n", at) + 2) - at);
        Require(end > at && std::ranges::count(g.HistoryLines, line) &&
                    (line.ends_with(" %&DEG\r\n") || line.substr(20) == "E-MAIL ALARM\r\n"),
                "the log gains only pairs and notices that the history gains");
      }
      log = now;
    }
    // Ticks come in runs, while Timer1 runs; each run's length is an input of its
    // own, so checking after the run misses no state a tick can leave.
    if (event == 1) {
      rig.Run("t*" + std::to_string(in.ConsumeIntegralInRange(1, 30)));
      rig.w.Timer2_Timer();
    }
    if (event >= 2) rig.Run(std::array{"stop", "clear", "drop", "offline", "closed"}[event - 2]);

    // After every event:
    for (std::int16_t f :
         {g.LinkOpen, g.SendFailed, g.ContinuousRun, g.SingleCommandPending, g.SingleMode,
          g.MeasureMode, g.StopRequested, g.ShortInterval, g.PurityReceived, g.AlarmActive,
          g.BlinkState, g.LogEnabled, g.HistoryFull, g.LogWriteFailed, g.LogFailureReported})
      Require(f == kTrue || f == kFalse, "-1/0 flag holds -1 or 0");
    for (std::int16_t f :
         {g.VersionPending, g.EmailSwitchPending, g.ParamSetPending, g.EmailEnabled})
      Require(f == 0 || f == 1, "1/0 flag holds 1 or 0");
    const std::pair<int, int> counters[] = {{g.HistoryCount, kLastHistorySlot},
                                            {g.ReadoutStep, kReadoutEmailSent},
                                            {g.PollPhase, kPurityDue},
                                            {g.WaitTicks, kReplyTimeoutTicks - 1},
                                            {g.NoReplyCount, kTimeoutsPerRun - 1},
                                            {g.LinkDrops, kDropsPerRun - 1},
                                            {g.SendRetries, kSilentRetries - 1}};
    for (auto [value, most] : counters)
      Require(value >= 0 && value <= most, "counters within their ranges");
    Require(g.ContinuousRun != kTrue ||
                (g.TickCount >= 0 && g.TickCount <= g.IntervalSeconds * kTicksPerSecond),
            "TickCount within interval");
    const std::size_t filled = g.HistoryFull == kTrue ? kHistorySlots : g.HistoryCount;
    for (std::size_t i = 0; i < kHistorySlots; ++i) {
      const std::string& line = g.HistoryLines[i];
      Require(line.empty() == (i >= filled) &&
                  (line.empty() || (trend::ParseStamp(line.substr(0, 19)) && line[19] == ' ' &&
                                    line.find("\r\n") >= line.size() - 2 &&
                                    line.size() <= 28 + 2 * ReplyFramer::kMaxReplyBytes)),
              "the slots up to the count each hold one line: stamped, at most two framed replies");
    }
  }
  return 0;
}
