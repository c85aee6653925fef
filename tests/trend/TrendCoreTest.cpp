// The trend view's core on exact bytes: the log reader, the stamps, the
// decimation and shading, the live alarm events and a file followed while it
// is written, emptied and rewritten.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "trend/AlarmStretches.h"
#include "trend/CsvExport.h"
#include "trend/LogFollower.h"

namespace zrv::trend {
namespace {

constexpr double N = std::nan("");

// Each record as "hh:nn:ss purity temp" ("-" for a missing value), each
// notice as "hh:nn:ss !", then lines, unreadable, missing values, bytes left.
std::string Summary(const LogContent& c, std::size_t left = 0) {
  std::ostringstream out;
  const auto value = [&](double v) { std::isnan(v) ? out << " -" : out << ' ' << v; };
  for (const Record& r : c.records) {
    out << FormatStamp(r.time).substr(11);
    value(r.purity), value(r.temperature), out << "; ";
  }
  for (CivilSeconds t : c.notices) out << FormatStamp(t).substr(11) << " !; ";
  out << 'n' << c.lines << " u" << c.unreadable << " m" << c.missingValues << " l" << left;
  return out.str();
}

std::string Read(const std::string& bytes) {
  LogContent c;
  const std::size_t taken = ReadLines(bytes, c);
  return Summary(c, bytes.size() - taken);
}

TEST(LogReaderTest, ReadsEveryLineOrCountsIt) {
  const std::string P = "2026/12/07 06:00:0";  // a stamp but its last digit
  const std::vector<std::pair<std::string, std::string>> rows = {
      {P + "0 99.9 25.3 %&DEG\r\n", "06:00:00 99.9 25.3; n1 u0 m0 l0"},
      {P + "1 100.0 125.25 %&DEG\r\n" + P + "2 9.9 5 %&DEG\r\n" + P + "3 -1.5 0 %&DEG\r\n",
       "06:00:01 100 125.25; 06:00:02 9.9 5; 06:00:03 -1.5 0; n3 u0 m0 l0"},
      {P + "3 E-MAIL ALARM\r\n", "06:00:03 !; n1 u0 m0 l0"},
      {P + "4   %&DEG\r\n" + P + "5  25.3 %&DEG\r\n" + P + "6 99.9  %&DEG\r\n",
       "06:00:04 - -; 06:00:05 - 25.3; 06:00:06 99.9 -; n3 u0 m4 l0"},
      {P + "5 99.9 Illegal Comman %&DEG\r\n" + P + "6 Illegal Command! 25.3 %&DEG\r\n" + P +
           "7 nan inf %&DEG\r\n",
       "06:00:05 99.9 -; 06:00:06 - 25.3; 06:00:07 - -; n3 u0 m4 l0"},
      {P + "6 99.9 25.3 %&DEG\n", "06:00:06 99.9 25.3; n1 u0 m0 l0"},  // a hand edit's bare LF
      {P + "7 99.9 25.3 %&DEG\r\n" + P + "8 99.", "06:00:07 99.9 25.3; n1 u0 m0 l23"},
      {P + "8 E-MAIL ALARM\r", "n0 u0 m0 l33"},
      {"hello\r\n\r\n2026/02/30 06:00:00 1 2 %&DEG\r\n" + P + "9 99.9 25.3 %&DEG \r\n" + P +
           "9 E-MAIL ALARMS\r\n" + P + "9 99.9 %&DEG\r\n" + P + "9\r\n" + P + "9 1 2 %&DE\r\n" +
           "2026-12-07 06:00:09 1 2 %&DEG\r\n" + P + "9 1 2 %&DEG\r\n",
       "06:00:09 1 2; n10 u9 m0 l0"},
      {std::string("\0\xff\x01 %&DEG\r\n\0", 12), "n1 u1 m0 l1"},
      {std::string(kMaxLineBytes + 1, 'x'), "n1 u1 m0 l0"},
      {std::string(kMaxLineBytes, 'x'), "n0 u0 m0 l4096"},
      {"", "n0 u0 m0 l0"},
  };
  for (const auto& [bytes, expected] : rows) EXPECT_EQ(Read(bytes), expected) << bytes;
}

TEST(CivilTimeTest, StampsAreCheckedFieldByField) {
  for (const char* bad : {"2026/02/29 06:00:00", "2026/04/31 06:00:00", "2026/13/07 06:00:00",
                          "2026/00/07 06:00:00", "2026/12/00 06:00:00", "2026/12/07 24:00:00",
                          "2026/12/07 06:60:00", "2026/12/07 06:00:60", "2026-12-07 06:00:00",
                          "2026/12/07 06:00:0x", "+026/12/07 06:00:00", "2026/12/07 06:00:00 "})
    EXPECT_FALSE(ParseStamp(bad)) << bad;
  for (const char* good : {"2024/02/29 23:59:59", "1969/12/31 23:59:59", "0000/01/01 00:00:00"})
    EXPECT_EQ(FormatStamp(ParseStamp(good).value()), good);
  EXPECT_EQ(ParseStamp("1970/01/02 00:01:01"), 86461);
  EXPECT_EQ(FormatIso(86461), "1970-01-02T00:01:01");
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

std::vector<Record> Purities(const std::vector<std::pair<CivilSeconds, double>>& values) {
  std::vector<Record> records;
  for (auto [t, v] : values) records.push_back({t, v, 20.0});
  return records;
}

TEST(DecimationTest, KeepsEachColumnsExtremesInTimeOrder) {
  // {records' times and purities, range, columns, the points kept}
  const std::vector<
      std::tuple<std::vector<std::pair<CivilSeconds, double>>, TimeRange, int, std::string>>
      rows = {
          {{{0, 5}, {1, 1}, {2, 9}, {3, 3}, {4, 2}, {5, 2}, {6, 2}, {7, 2}},
           {0, 7},
           2,
           "1:1 2:9 4:2"},
          {{{0, 9}, {1, 5}, {2, 1}}, {0, 2}, 1, "0:9 2:1"},
          {{{-5, 1}, {-1, 2}, {3, 3}, {10, 4}, {20, 5}}, {0, 5}, 4, "-1:2 3:3 10:4"},  // neighbours
          {{{0, N}, {1, 4}, {2, N}}, {0, 2}, 3, "1:4"},
          {{{0, 3}, {1, 7}}, {0, 1}, 0, "0:3 1:7"},  // no columns count as one
          {{{0, 1}, {4, 2}, {5, 3}, {9, 4}, {10, 5}}, {0, 10}, 2, "0:1 4:2 5:3 10:5"},
      };
  for (const auto& [values, range, columns, points] : rows) {
    std::string got;
    for (const Point& p : DecimateMinMax(Purities(values), &Record::purity, range, columns))
      got += (got.empty() ? "" : " ") + std::to_string(p.time) + ":" + std::to_string(int(p.value));
    EXPECT_EQ(got, points);
  }
  EXPECT_EQ(DecimateTimes({5, 1, 3, 60, 99, 120, -1}, {0, 99}, 2),
            (std::vector<CivilSeconds>{1, 60}));
}

TEST(AlarmStretchesTest, BelowLevelAndShading) {
  // A stretch runs from the first low record to the one that reads the level
  // again; a record without a value neither begins nor ends one.
  const auto stretches =
      BelowLevel(Purities({{0, 90}, {1, 79}, {2, N}, {3, 70}, {4, 80}, {5, 85}, {9, 60}}), 80);
  const auto text = [](const std::vector<TimeRange>& ranges) {
    std::string s;
    for (const TimeRange& r : ranges)
      s += std::to_string(r.from) + "-" + std::to_string(r.to) + " ";
    return s;
  };
  EXPECT_EQ(text(stretches), "1-4 9-9 ");
  const std::vector<std::tuple<TimeRange, int, std::string>> rows = {
      {{0, 9}, 100, "1-4 9-9 "},  // clipped at the range's end
      {{0, 100}, 10, "1-19 "},    // closer than a column: merged, one column wide
      {{5, 8}, 10, ""},
      {{2, 3}, 10, "2-3 "},
  };
  for (const auto& [range, columns, shaded] : rows)
    EXPECT_EQ(text(ShadeStretches(stretches, range, columns)), shaded) << range.from;
}

TEST(AlarmStretchesTest, WatchRaisesOnlyLiveEvents) {
  // {appended purities, notices, fell, recovered, e-mail alarms}; the first
  // row is the log as opened and only sets the state.
  const std::vector<std::tuple<std::vector<double>, int, int, int, int>> rows = {
      {{70, 95, 60}, 1, 0, 0, 0},        {{65}, 0, 0, 0, 0}, {{90}, 2, 0, 1, 2},
      {{N, 79, 50, 81, 70}, 0, 2, 1, 0}, {{}, 1, 0, 0, 1},
  };
  LogContent content;
  AlarmWatch watch;
  for (const auto& [appended, notices, fell, recovered, emails] : rows) {
    for (double v : appended) content.records.push_back({0, v, 20});
    content.notices.resize(content.notices.size() + notices);
    const auto e = watch.Update(content, 80);
    EXPECT_EQ(std::tie(e.fell, e.recovered, e.emailAlarms), std::tie(fell, recovered, emails));
  }
  content = LogContent{};  // a new run starts from an empty file and is still live
  watch.NewRun();
  content.records.push_back({0, 50, 20});
  EXPECT_EQ(watch.Update(content, 80).fell, 1);
}

TEST(LogFollowerTest, FollowsAppendsAndNewRuns) {
  const auto line = [](int s) {
    return "2026/12/07 06:00:" + std::to_string(s) + " 9 2 %&DEG\r\n";
  };
  // {bytes appended ('+') or written over the file ('='), or '-' to remove it;
  // the poll's change; records, unreadable lines and bytes pending after it}
  using C = LogFollower::Change;
  const std::vector<std::tuple<std::string, C, std::string>> steps = {
      {"", C::kMissing, "0 0 0"},
      {"=", C::kNone, "0 0 0"},
      {"+" + line(10) + line(11), C::kAppended, "2 0 0"},
      {"+2026/12/07 06:00:12 8", C::kAppended, "2 0 21"},
      {"+.5 2 %&DEG\r\n", C::kAppended, "3 0 0"},
      {"", C::kNone, "3 0 0"},
      {"+edited by hand\r\n", C::kAppended, "3 1 0"},
      {"=", C::kNewRun, "0 0 0"},
      {"+" + line(20), C::kAppended, "1 0 0"},
      {"=" + line(30) + line(31), C::kNewRun, "2 0 0"},  // emptied and regrown past the old size
      {"=" + line(40) + line(41), C::kNewRun, "2 0 0"},  // to the same size
      {"-", C::kMissing, "2 0 0"},
      {"=" + line(50), C::kNewRun, "1 0 0"},
  };
  LogFollower follower("follow.log");
  for (const auto& [action, change, holds] : steps) {
    if (action == "-") std::filesystem::remove("follow.log");
    if (!action.empty() && action[0] != '-')
      std::ofstream("follow.log",
                    std::ios::binary | (action[0] == '+' ? std::ios::app : std::ios::trunc))
          << action.substr(1);
    EXPECT_EQ(follower.Poll(), change) << action;
    const LogContent& c = follower.content();
    EXPECT_EQ(std::to_string(c.records.size()) + " " + std::to_string(c.unreadable) + " " +
                  std::to_string(follower.pendingBytes()),
              holds)
        << action;
  }
  EXPECT_EQ(Summary(follower.content()), "06:00:50 9 2; n1 u0 m0 l0");
}

}  // namespace
}  // namespace zrv::trend
