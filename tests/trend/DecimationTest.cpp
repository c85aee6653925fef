// Decimation keeps every column's extremes; the alarm stretches and the
// notices they raise follow the records.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "trend/AlarmStretches.h"
#include "trend/CsvExport.h"

namespace zrv::trend {
namespace {

constexpr double N = std::nan("");

std::vector<Record> Purities(const std::vector<std::pair<CivilSeconds, double>>& values) {
  std::vector<Record> records;
  for (auto [t, v] : values) records.push_back({t, v, 20.0});
  return records;
}

struct DecimationCase {
  const char* name;
  std::vector<std::pair<CivilSeconds, double>> values;
  TimeRange range;
  int columns;
  std::vector<std::pair<CivilSeconds, double>> points;
};

TEST(DecimationTest, KeepsExtremesInTimeOrder) {
  const std::vector<DecimationCase> cases = {
      {"min before max, flat column once",
       {{0, 5}, {1, 1}, {2, 9}, {3, 3}, {4, 2}, {5, 2}, {6, 2}, {7, 2}},
       {0, 7},
       2,
       {{1, 1}, {2, 9}, {4, 2}}},
      {"max before min", {{0, 9}, {1, 5}, {2, 1}}, {0, 2}, 1, {{0, 9}, {2, 1}}},
      {"nearest neighbours outside the range",
       {{-5, 1}, {-1, 2}, {3, 3}, {10, 4}, {20, 5}},
       {0, 5},
       4,
       {{-1, 2}, {3, 3}, {10, 4}}},
      {"missing values left out", {{0, N}, {1, 4}, {2, N}}, {0, 2}, 3, {{1, 4}}},
      {"zero columns is one", {{0, 3}, {1, 7}}, {0, 1}, 0, {{0, 3}, {1, 7}}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<CivilSeconds, double>> got;
    for (const Point& p : DecimateMinMax(Purities(c.values), &Record::purity, c.range, c.columns))
      got.emplace_back(p.time, p.value);
    EXPECT_EQ(got, c.points) << c.name;
  }
}

TEST(DecimationTest, AWeekKeepsEveryColumnsExtremes) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(90, 5);
  std::vector<Record> records;
  for (CivilSeconds t = 0; t < 604800; t += 7) records.push_back({t, noise(random), 20});
  const TimeRange range{0, 604799};
  const int columns = 1000;
  const auto points = DecimateMinMax(records, &Record::purity, range, columns);
  ASSERT_LE(points.size(), 2u * columns);

  std::vector<double> low(columns, 1e9), high(columns, -1e9);
  for (const Record& r : records) {
    const auto c = static_cast<std::size_t>(r.time * columns / (range.to - range.from));
    low[c] = std::min(low[c], r.purity), high[c] = std::max(high[c], r.purity);
  }
  std::size_t found = 0;
  for (const Point& p : points) {
    const auto c = static_cast<std::size_t>(p.time * columns / (range.to - range.from));
    found += p.value == low[c];
    found += p.value == high[c];
  }
  EXPECT_EQ(found, 2u * columns);
}

TEST(DecimationTest, NoticesOnePerColumn) {
  EXPECT_EQ(DecimateTimes({5, 1, 3, 60, 99, 120}, {0, 99}, 2), (std::vector<CivilSeconds>{1, 60}));
}

TEST(AlarmStretchesTest, BelowLevelAndShading) {
  // Below from the first low record to the one that reads the level again; a
  // record without a value does not end a stretch.
  const auto records = Purities({{0, 90}, {1, 79}, {2, N}, {3, 70}, {4, 80}, {5, 85}, {9, 60}});
  const auto stretches = BelowLevel(records, 80);
  ASSERT_EQ(stretches.size(), 2u);
  EXPECT_EQ(stretches[0].from, 1);
  EXPECT_EQ(stretches[0].to, 4);
  EXPECT_EQ(stretches[1].from, 9);
  EXPECT_EQ(stretches[1].to, 9);

  struct Row {
    TimeRange range;
    int columns;
    std::vector<std::pair<CivilSeconds, CivilSeconds>> shaded;
  };
  const std::vector<Row> rows = {
      {{0, 9}, 100, {{1, 4}, {9, 9}}},  // clipped at the range's end
      {{0, 100}, 10, {{1, 19}}},        // closer than a column: merged, one column wide
      {{5, 8}, 10, {}},                 // between the stretches
      {{2, 3}, 10, {{2, 3}}},           // inside one
  };
  for (const Row& row : rows) {
    std::vector<std::pair<CivilSeconds, CivilSeconds>> got;
    for (const TimeRange& s : ShadeStretches(stretches, row.range, row.columns))
      got.emplace_back(s.from, s.to);
    EXPECT_EQ(got, row.shaded) << row.range.from << ".." << row.range.to;
  }
}

TEST(AlarmStretchesTest, WatchRaisesOnlyLiveEvents) {
  struct Row {
    std::vector<double> appended;
    int notices;
    int fell, recovered, emailAlarms;
  };
  // The first row is the log as opened: it only sets the state.
  const std::vector<Row> rows = {
      {{70, 95, 60}, 1, 0, 0, 0},        {{65}, 0, 0, 0, 0}, {{90}, 2, 0, 1, 2},
      {{N, 79, 50, 81, 70}, 0, 2, 1, 0}, {{}, 1, 0, 0, 1},
  };
  LogContent content;
  AlarmWatch watch;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (double v : rows[i].appended) content.records.push_back({CivilSeconds(i), v, 20});
    content.notices.resize(content.notices.size() + rows[i].notices, CivilSeconds(i));
    const auto e = watch.Update(content, 80);
    EXPECT_EQ(e.fell, rows[i].fell) << "row " << i;
    EXPECT_EQ(e.recovered, rows[i].recovered) << "row " << i;
    EXPECT_EQ(e.emailAlarms, rows[i].emailAlarms) << "row " << i;
  }
  // A new run starts from an empty file and is still live.
  content = LogContent{};
  watch.NewRun();
  content.records.push_back({0, 50, 20});
  EXPECT_EQ(watch.Update(content, 80).fell, 1);
}

TEST(CsvExportTest, IsoTimesAndEmptyFieldsForMissingValues) {
  LogContent content;
  ReadLines(
      "2024/02/29 23:59:59 99.9 25.3 %&DEG\r\n2026/12/07 06:00:00 E-MAIL ALARM\r\n"
      "2026/12/07 06:00:01  -0.5 %&DEG\r\n",
      content);
  std::ostringstream out;
  WriteCsv(content, out);
  EXPECT_EQ(out.str(),
            "time,purity,temperature\n2024-02-29T23:59:59,99.9,25.3\n"
            "2026-12-07T06:00:01,,-0.5\n");
}

}  // namespace
}  // namespace zrv::trend
