// The log reader against exact bytes: what the controller writes, what a hand
// edit leaves, and what is not a log at all.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "trend/LogReader.h"

namespace zrv::trend {
namespace {

constexpr double N = std::nan("");

struct Expected {
  std::string stamp;
  double purity, temperature;
};

struct Case {
  const char* name;
  std::string bytes;
  std::vector<Expected> records;
  std::size_t notices, unreadable, missing, lines;
  std::size_t left;  // bytes not taken: an unfinished last line
};

bool Same(double a, double b) {
  return std::isnan(a) ? std::isnan(b) : a == b;
}

const std::vector<Case> kCases = {
    {"pair",
     "2026/12/07 06:00:00 99.9 25.3 %&DEG\r\n",
     {{"2026/12/07 06:00:00", 99.9, 25.3}},
     0,
     0,
     0,
     1,
     0},
    {"field widths",
     "2026/12/07 06:00:01 100.0 125.25 %&DEG\r\n2026/12/07 06:00:02 9.9 5 %&DEG\r\n"
     "2024/02/29 23:59:59 -1.5 0 %&DEG\r\n",
     {{"2026/12/07 06:00:01", 100.0, 125.25},
      {"2026/12/07 06:00:02", 9.9, 5},
      {"2024/02/29 23:59:59", -1.5, 0}},
     0,
     0,
     0,
     3,
     0},
    {"notice", "2026/12/07 06:00:03 E-MAIL ALARM\r\n", {}, 1, 0, 0, 1, 0},
    {"both values empty",
     "2026/12/07 06:00:04   %&DEG\r\n",
     {{"2026/12/07 06:00:04", N, N}},
     0,
     0,
     2,
     1,
     0},
    {"purity empty",
     "2026/12/07 06:00:04  25.3 %&DEG\r\n",
     {{"2026/12/07 06:00:04", N, 25.3}},
     0,
     0,
     1,
     1,
     0},
    {"cut error replies hold spaces",
     "2026/12/07 06:00:05 99.9 Illegal Comman %&DEG\r\n"
     "2026/12/07 06:00:06 Illegal Command! 25.3 %&DEG\r\n"
     "2026/12/07 06:00:07 nan inf %&DEG\r\n",
     {{"2026/12/07 06:00:05", 99.9, N},
      {"2026/12/07 06:00:06", N, 25.3},
      {"2026/12/07 06:00:07", N, N}},
     0,
     0,
     4,
     3,
     0},
    {"bare LF of a hand edit",
     "2026/12/07 06:00:06 99.9 25.3 %&DEG\n",
     {{"2026/12/07 06:00:06", 99.9, 25.3}},
     0,
     0,
     0,
     1,
     0},
    {"last line still being written",
     "2026/12/07 06:00:07 99.9 25.3 %&DEG\r\n2026/12/07 06:00:08 99.",
     {{"2026/12/07 06:00:07", 99.9, 25.3}},
     0,
     0,
     0,
     1,
     23},
    {"CR not yet followed by LF", "2026/12/07 06:00:08 E-MAIL ALARM\r", {}, 0, 0, 0, 0, 33},
    {"garbage lines",
     "hello\r\n\r\n2026/13/07 06:00:00 1 2 %&DEG\r\n2026/02/30 06:00:00 1 2 %&DEG\r\n"
     "2026/12/07 24:00:00 1 2 %&DEG\r\n2026/12/07 06:00:09 99.9 25.3 %&DEG \r\n"
     "2026/12/07 06:00:09 E-MAIL ALARMS\r\n2026/12/07 06:00:09 99.9 %&DEG\r\n"
     "2026/12/07 06:00:09\r\n2026-12-07 06:00:09 1 2 %&DEG\r\n"
     "2026/12/07 06:00:10 99.9 25.3 %&DEG\r\n",
     {{"2026/12/07 06:00:10", 99.9, 25.3}},
     0,
     10,
     0,
     11,
     0},
    {"binary", std::string("\0\xff\x01 %&DEG\r\n\0", 12), {}, 0, 1, 0, 1, 1},
    {"endless line without LF", std::string(kMaxLineBytes + 1, 'x'), {}, 0, 1, 0, 1, 0},
    {"empty", "", {}, 0, 0, 0, 0, 0},
};

class LogReaderTest : public testing::TestWithParam<Case> {};

TEST_P(LogReaderTest, ReadsEveryLineOrCountsIt) {
  const Case& c = GetParam();
  LogContent content;
  const std::size_t taken = ReadLines(c.bytes, content);

  EXPECT_EQ(c.bytes.size() - taken, c.left) << c.name;
  ASSERT_EQ(content.records.size(), c.records.size());
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    const Record& r = content.records[i];
    EXPECT_EQ(FormatStamp(r.time), c.records[i].stamp) << i;
    EXPECT_TRUE(Same(r.purity, c.records[i].purity)) << i << ": " << r.purity;
    EXPECT_TRUE(Same(r.temperature, c.records[i].temperature)) << i << ": " << r.temperature;
  }
  EXPECT_EQ(content.notices.size(), c.notices);
  for (CivilSeconds t : content.notices) EXPECT_EQ(FormatStamp(t), "2026/12/07 06:00:03");
  EXPECT_EQ(content.unreadable, c.unreadable);
  EXPECT_EQ(content.missingValues, c.missing);
  EXPECT_EQ(content.lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Bytes, LogReaderTest, testing::ValuesIn(kCases));

}  // namespace
}  // namespace zrv::trend
