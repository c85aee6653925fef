// How fast the trend view opens and redraws a week of one-second records
// (604,800 lines): parsing, reading the file, decimation, and drawing the
// chart offscreen into an image, first in full and then zoomed and panned.
//
//   build/bench/trend/trend_bench                    the figures
//   build/bench/trend/trend_bench --write-log F [S]  writes a log of S seconds
//                                                    (default a week) to F
//   build/bench/trend/trend_bench --open F           opens F in the window
//                                                    offscreen: time until drawn
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "bench/trend/SyntheticLog.h"
#include "trend/ChartExport.h"
#include "trend/LogFollower.h"
#include "trend/TrendWindow.h"

namespace zrv::trend {
namespace {

constexpr std::int64_t kWeek = 7 * kDay;
constexpr int kColumns = 1150;  // about the plot width of a 1280-pixel chart

const std::string& WeekLog() {
  static const std::string log = bench::SyntheticLog(kWeek);
  return log;
}

const LogContent& WeekContent() {
  static const LogContent content = [] {
    LogContent c;
    ReadLines(WeekLog(), c);
    return c;
  }();
  return content;
}

void BM_ParseWeek(benchmark::State& state) {
  for (auto _ : state) {
    LogContent content;
    benchmark::DoNotOptimize(ReadLines(WeekLog(), content));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(WeekLog().size()));
}
BENCHMARK(BM_ParseWeek)->Unit(benchmark::kMillisecond);

void BM_ReadWeekFile(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "zrv02-trend-bench.log";
  std::ofstream(path, std::ios::binary) << WeekLog();
  for (auto _ : state) {
    LogFollower follower(path.string());
    benchmark::DoNotOptimize(follower.Poll());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadWeekFile)->Unit(benchmark::kMillisecond);

void BM_DecimateWeek(benchmark::State& state) {
  const LogContent& content = WeekContent();
  const TimeRange week{content.first, content.last};
  for (auto _ : state) {
    BelowLevel below(TrendChart::kDefaultAlarmLevel);
    below.Update(content.records);
    benchmark::DoNotOptimize(DecimateLines(content, &Record::Purity, week, kColumns, 5));
    benchmark::DoNotOptimize(DecimateLines(content, &Record::Temperature, week, kColumns, 5));
    benchmark::DoNotOptimize(ShadeStretches(below.Stretches(), week, kColumns));
  }
}
BENCHMARK(BM_DecimateWeek)->Unit(benchmark::kMillisecond);

// A new chart over the whole week, drawn into an image: what opening costs
// once the file is read.
void BM_DrawWeek(benchmark::State& state) {
  const LogContent& content = WeekContent();
  for (auto _ : state) {
    TrendChart chart;
    chart.SetContent(&content);
    benchmark::DoNotOptimize(RenderChart(chart, kExportSize));
  }
}
BENCHMARK(BM_DrawWeek)->Unit(benchmark::kMillisecond);

// One wheel step in or out, or a pan, then the redraw.
void BM_ZoomPanRedraw(benchmark::State& state) {
  TrendChart chart;
  chart.SetContent(&WeekContent());
  RenderChart(chart, kExportSize);
  int step = 0;
  for (auto _ : state) {
    const double x = chart.plotArea().center().x();
    switch (step++ % 4) {
      case 0:
        chart.ZoomAround(x, 0.8);
        break;
      case 1:
        chart.Pan(0.25);
        break;
      case 2:
        chart.Pan(-0.25);
        break;
      default:
        chart.ZoomAround(x, 1.25);
        break;
    }
    benchmark::DoNotOptimize(RenderChart(chart, kExportSize));
  }
}
BENCHMARK(BM_ZoomPanRedraw)->Unit(benchmark::kMillisecond);

// Following a log of 8 M records (about three months of one-second records):
// a poll that finds nothing new, and one record appended, read, decimated and
// drawn. At one record a second and four polls a second, the second figure
// plus three of the first is the share of a core the window takes.
class FollowedLog {
 public:
  static FollowedLog& Get() {
    static FollowedLog log;
    return log;
  }
  void Append() {
    const CivilSeconds t = start_ + kRecords + appended_++;
    std::ofstream(path_, std::ios::binary | std::ios::app)
        << FormatStamp(t) << " 93.4 24.51 %&DEG\r\n";
  }
  LogFollower follower{""};
  TrendChart chart;

 private:
  static constexpr std::int64_t kRecords = 8'000'000;
  FollowedLog()
      : path_((std::filesystem::temp_directory_path() / "zrv02-trend-follow.log").string()) {
    std::ofstream(path_, std::ios::binary) << bench::SyntheticLog(kRecords);
    follower = LogFollower(path_);
    follower.Poll();
    chart.SetContent(&follower.Content());
    RenderChart(chart, kExportSize);
  }
  ~FollowedLog() { std::filesystem::remove(path_); }
  std::string path_;
  CivilSeconds start_ = *ParseStamp("2026/11/30 00:00:00");
  std::int64_t appended_ = 0;
};

void BM_FollowPollUnchanged(benchmark::State& state) {
  FollowedLog& log = FollowedLog::Get();
  for (auto _ : state) benchmark::DoNotOptimize(log.follower.Poll());
}
BENCHMARK(BM_FollowPollUnchanged)->Unit(benchmark::kMicrosecond);

void BM_FollowOneRecord(benchmark::State& state) {
  FollowedLog& log = FollowedLog::Get();
  for (auto _ : state) {
    log.Append();
    benchmark::DoNotOptimize(log.follower.Poll());
    log.chart.Refresh();
    benchmark::DoNotOptimize(RenderChart(log.chart, kExportSize));
  }
}
BENCHMARK(BM_FollowOneRecord)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zrv::trend

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write-log") == 0) {
    const std::int64_t seconds = argc >= 4 ? std::atoll(argv[3]) : zrv::trend::kWeek;
    std::ofstream(argv[2], std::ios::binary) << zrv::trend::bench::SyntheticLog(seconds);
    return 0;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], "--open") == 0) {
    QElapsedTimer clock;
    clock.start();
    zrv::trend::TrendWindow window(zrv::trend::TrendChart::kDefaultAlarmLevel, false);
    window.show();
    window.Open(argv[2]);
    while (window.Loading()) QApplication::processEvents();
    QApplication::processEvents();  // the chart drawn
    std::printf("opened and drawn in %lld ms\n", static_cast<long long>(clock.elapsed()));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
