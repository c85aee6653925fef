// What the controller's own logic costs per event, on fake ports: a tick of
// Timer1 in each state the scheduler can be in, a reply that completes a
// record (log append included), and the history once it is full.
#include <benchmark/benchmark.h>

#include <fstream>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

// A Continue run at interval 1, its first pair answered.
struct RunningRig : Rig {
  RunningRig() {
    Run("HostIPEdit=127.0.0.1 check t <1.10 t Txt_Interval=1 start t <99.9% t <25.3DEG");
  }
};

// The states of a tick, each held steady by resetting what the tick moves.
enum class TickState { kCounting, kWaitingForReply, kSendingPurity, kVersionQuery, kIdleStop };

void BM_Tick(benchmark::State& state, TickState which) {
  RunningRig rig;
  if (which == TickState::kCounting) rig.g.ShortInterval = kFalse;  // the 10 s-and-longer path
  for (auto _ : state) {
    switch (which) {
      case TickState::kCounting:
        rig.g.PollPhase = kBetweenPolls;
        rig.g.TickCount = 1;
        rig.g.LinkOpen = kFalse;
        break;
      case TickState::kWaitingForReply:
        rig.g.PollPhase = kTempDue;
        rig.g.PurityReceived = kFalse;
        rig.g.WaitTicks = 0;
        break;
      case TickState::kSendingPurity:
        rig.g.PollPhase = kBetweenPolls;
        rig.g.TickCount = 5;
        rig.g.PurityReceived = kFalse;
        break;
      case TickState::kVersionQuery:
        rig.g.VersionPending = 1;
        break;
      case TickState::kIdleStop:
        rig.g.ContinuousRun = kFalse;
        break;
    }
    rig.w.Timer1_Timer();
    if (rig.socket.calls.size() > 4096) rig.socket.calls.clear();
  }
}
BENCHMARK_CAPTURE(BM_Tick, counting, TickState::kCounting);
BENCHMARK_CAPTURE(BM_Tick, waiting_for_reply, TickState::kWaitingForReply);
BENCHMARK_CAPTURE(BM_Tick, sending_purity, TickState::kSendingPurity);
BENCHMARK_CAPTURE(BM_Tick, version_query, TickState::kVersionQuery);
BENCHMARK_CAPTURE(BM_Tick, idle_stop, TickState::kIdleStop);

// The temperature reply that completes a pair: record, log line (opened,
// appended, closed), history line; the history is full, as in any run
// longer than 100 intervals.
void BM_ReplyToFinishedRecord(benchmark::State& state) {
  RunningRig rig;
  const auto temperatureReply = [&] {
    rig.g.PurityReceived = kTrue;
    rig.g.Owed.Push(Awaited::kTemperature, 1);  // "TEMP?" went out
    rig.Reply("25.3DEG\r\n");
  };
  for (int i = 0; i < 120; ++i) temperatureReply();
  const std::size_t before = ReadFileBytes("zrv-02.log").size();
  for (auto _ : state) temperatureReply();
  const std::size_t line = std::string("T 99.9 25.3 %&DEG\r\n").size();
  if (ReadFileBytes("zrv-02.log").size() != before + state.iterations() * line)
    state.SkipWithError("the log did not grow by a line per reply");
}
BENCHMARK(BM_ReplyToFinishedRecord);

// The log append alone: as the controller does it, and with the file kept
// open instead (flushed per line, so a crash loses nothing either way).
void BM_LogAppendOpenClose(benchmark::State& state) {
  RunningRig rig;
  for (auto _ : state) rig.w.AppendLogLine("99.9 25.3 %&DEG\r\n", "2026/12/07 10:00:00");
}
BENCHMARK(BM_LogAppendOpenClose);

void BM_LogAppendKeptOpen(benchmark::State& state) {
  std::ofstream log("kept-open.log", std::ios::binary | std::ios::app);
  for (auto _ : state) {
    log << "2026/12/07 10:00:00" << ' ' << "99.9 25.3 %&DEG\r\n";
    log.flush();
  }
}
BENCHMARK(BM_LogAppendKeptOpen);

// A Single-mode record in the core: the 101st and later shift the 100 slots
// and rebuild the box text; while filling, the line is only appended.
void BM_HistoryRecord(benchmark::State& state) {
  const bool full = state.range(0) != 0;
  Rig rig;
  rig.Run("HostIPEdit=127.0.0.1 check t <1.10 t Txt_Command=PURITY? single");
  const std::string reply = "99.9%\r\n";
  for (int i = 0; i < 100; ++i) rig.Reply(reply);
  for (auto _ : state) {
    if (!full && rig.g.HistoryCount == 98) rig.w.clear_Click();
    rig.Reply(reply);
  }
}
BENCHMARK(BM_HistoryRecord)->ArgName("full")->Arg(1)->Arg(0);

}  // namespace
}  // namespace zrv::test

int main(int argc, char** argv) {
  zrv::test::EnterTempWorkDir();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
