// The trend view's core on exact bytes: the log reader and its CSV, the
// stamps, the decimation and shading, the live alarm events and a file
// followed while it is written, emptied and rewritten.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/support/TempWorkDir.h"
#include "trend/AlarmStretches.h"
#include "trend/CsvExport.h"
#include "trend/LogFollower.h"

namespace zrv::trend {
TEST(LogReaderTest, ReadsEveryLineOrCountsIt) {
  // The records as CSV lines without their date, the notices' times, then
  // lines, unreadable lines, missing values and the bytes left for later.
  const auto read = [](const std::string& bytes) {
    LogContent c;
    const std::size_t left = bytes.size() - ReadLines(bytes, c);
    std::stringstream csv, out;
    WriteCsv(c, csv);
    std::string line;  // after the header, which the exported file shows
    for (std::getline(csv, line); std::getline(csv, line);) out << line.substr(11) << "; ";
    for (CivilSeconds t : c.notices) out << FormatStamp(t).substr(11) << " !; ";
    out << 'n' << c.lines << " u" << c.unreadable << " m" << c.missingValues << " l" << left;
    return out.str();
  };
  const std::string P = "2026/12/07 06:00:0", T = " %&DEG\r\n";  // P: a stamp but its last digit
  const std::vector<std::pair<std::string, std::string>> rows = {
      // a hand edit's bare LF; a last line without its LF (a bare CR does not end it) is held
      {P + "1 100.0 125.25" + T + P + "2 -1.5 0 %&DEG\n" + P + "3 E-MAIL ALARM\r\n" + P +
           "4 E-MAIL ALARM\r",
       "06:00:01,100,125.25; 06:00:02,-1.5,0; 06:00:03 !; n3 u0 m0 l33"},
      // values empty, cut short ("Illegal Comman"), blank or not finite
      {P + "4  " + T + P + "5 99.9 Illegal Comman" + T + P + "6   25.3" + T + P + "7 nan inf" + T,
       "06:00:04,,; 06:00:05,99.9,; 06:00:06,,25.3; 06:00:07,,; n4 u0 m6 l0"},
      // unreadable: bytes, text, an empty line, a stamp alone, a near-notice, one value, a
      // space after the tail; the record after them is still read
      {std::string("\0\xff\x01 %&DEG\r\nhello\r\n\r\n", 20) + P + "9\r\n" + P +
           "9 E-MAIL ALARMS\r\n" + P + "9 99.9" + T + P + "9 1 2 %&DEG \r\n" + P + "9 1 2" + T,
       "06:00:09,1,2; n8 u7 m0 l0"},
      {std::string(kMaxLineBytes + 1, 'x'), "n1 u1 m0 l0"},  // too long to wait for its end
      {std::string(kMaxLineBytes, 'x'), "n0 u0 m0 l4096"},
  };
  for (const auto& [bytes, expected] : rows) EXPECT_EQ(read(bytes), expected) << bytes;
}

TEST(CivilTimeTest, StampsAreCheckedFieldByField) {
  for (const char* bad : {"2026/02/29 06:00:00", "2026/12/07 24:00:00", "2026/12/07 06:60:00",
                          "2026/12/07 06:00:60", "2026-12/07 06:00:00", "2026/12-07 06:00:00",
                          "2026/12/07T06:00:00", "2026/12/07 06-00:00", "2026/12/07 06:00-00",
                          "2026/12/07 06:00:0x", "+026/12/07 06:00:00", "2026/12/07 06:00:00 "})
    EXPECT_FALSE(ParseStamp(bad)) << bad;
  for (const char* good : {"1969/12/31 23:59:59", "0000/01/01 00:00:00"})
    EXPECT_EQ(FormatStamp(ParseStamp(good).value()), good);
  EXPECT_EQ(ParseStamp("2024/02/29 23:59:59"), 1709251199);
  EXPECT_EQ(FormatIso(1709251199), "2024-02-29T23:59:59");
}

TEST(ChartDataTest, DecimationAndShading) {
  // A stretch below 80 runs from the first low record to the one that reads
  // the level again; a record without a value neither begins nor ends one.
  const std::vector<Record> records = {{0, 90, 20}, {1, 79, 20}, {2, NAN, 20}, {3, 70, 20},
                                       {4, 80, 20}, {5, 85, 20}, {9, 60, 20}};
  const std::vector<TimeRange> stretches = BelowLevel(records, 80);
  // {range, columns, the points kept: each column's extremes in time order and
  // the nearest record either side; the stretches shaded: clipped, each one
  // column wide at least, those closer than a column merged}
  const std::vector<std::tuple<TimeRange, int, std::string>> rows = {
      {{0, 9}, 100, "0:90 1:79 3:70 4:80 5:85 9:60 | 1-4 9-9"},
      {{0, 100}, 10, "0:90 9:60 | 1-19"},
      {{0, 9}, 0, "0:90 9:60 | 1-9"},  // no columns count as one
      {{1, 4}, 1, "0:90 3:70 4:80 5:85 | 1-4"},
      {{2, 3}, 10, "1:79 3:70 4:80 | 2-3"},
      {{5, 8}, 10, "4:80 5:85 9:60 |"},
  };
  for (const auto& [range, columns, expected] : rows) {
    std::string got;
    for (const Point& p : DecimateMinMax(records, &Record::purity, range, columns))
      got += std::to_string(p.time) + ":" + std::to_string(int(p.value)) + " ";
    got += "|";
    for (const TimeRange& r : ShadeStretches(stretches, range, columns))
      got += " " + std::to_string(r.from) + "-" + std::to_string(r.to);
    EXPECT_EQ(got, expected);
  }
  EXPECT_EQ(DecimateTimes({5, 1, 3, 60, 99, 120, -1}, {0, 99}, 2),
            (std::vector<CivilSeconds>{1, 60}));
}

TEST(LogFollowerTest, FollowsAppendsAndNewRunsWithTheirAlarmEvents) {
  const std::string P = "2026/12/07 06:00:00 ", H = P + "95 2 %&DEG\r\n", L = P + "50 2 %&DEG\r\n",
                    X = P + " 2 %&DEG\r\n", E = P + "E-MAIL ALARM\r\n";
  // {bytes appended ('+') or written over the file ('='), or '-' to remove it;
  // the poll's change, records and bytes pending after it, then the live alarm
  // events: fell, recovered, e-mail alarms (the first update only learns)}
  const std::vector<std::pair<std::string, std::string>> steps = {
      {"-", "missing 0 0"},
      {"=", "none 0 0"},
      {"+" + L + H + E, "appended 2 0 0 0 0"},
      {"+" + P + "8", "appended 2 21 0 0 0"},
      {"+.5 2 %&DEG\r\n", "appended 3 0 1 0 0"},
      {"+" + X + L + H + L + H + E, "appended 8 0 1 2 1"},
      {"=", "new run 0 0 0 0 0"},
      {"+" + L, "appended 1 0 1 0 0"},
      {"=" + H + H, "new run 2 0 0 0 0"},  // emptied and regrown past the old size
      {"=" + L + L, "new run 2 0 1 0 0"},  // to the same size
      {"-", "missing 2 0"},
  };
  const char* const names[] = {"none", "appended", "new run", "missing"};
  LogFollower follower("follow.log");
  AlarmWatch watch;  // as the window runs it
  for (const auto& [action, after] : steps) {
    const std::string kept = action[0] == '+' ? test::ReadFileBytes("follow.log") : "";
    if (action[0] == '-') std::filesystem::remove("follow.log");
    if (action[0] != '-') test::WriteFileBytes("follow.log", kept + action.substr(1));
    const LogFollower::Change change = follower.Poll();
    std::ostringstream got;
    got << names[int(change)] << ' ' << follower.content().records.size() << ' '
        << follower.pendingBytes();
    if (change == LogFollower::Change::kNewRun) watch.NewRun();
    if (change == LogFollower::Change::kAppended || change == LogFollower::Change::kNewRun) {
      const AlarmWatch::Events e = watch.Update(follower.content(), 80);
      got << ' ' << e.fell << ' ' << e.recovered << ' ' << e.emailAlarms;
    }
    EXPECT_EQ(got.str(), after) << action;
  }
}

}  // namespace zrv::trend
