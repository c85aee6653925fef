// The trend view's core on exact bytes: the log reader and its CSV, the
// stamps and the local clock, the decimation, shading and axis scales, the
// readout, the live alarm events and a file followed while it is written,
// emptied and rewritten.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "tests/support/TempWorkDir.h"
#include "trend/AlarmStretches.h"
#include "trend/ChartScale.h"
#include "trend/CsvExport.h"
#include "trend/Glance.h"
#include "trend/LogFollower.h"
#include "trend/Statistics.h"

namespace zrv::trend {
namespace {

// Central European time as a rule, so no zone database is needed: summer
// time ends on 2026/10/25 at 03:00, when the clock goes back to 02:00.
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";

struct InZone {
  explicit InZone(const char* zone) { setenv("TZ", zone, 1), tzset(); }
  ~InZone() { setenv("TZ", "UTC0", 1), tzset(); }
};

UtcSeconds Utc(const char* stamp) {
  return ParseStamp(stamp).value();
}

}  // namespace

TEST(LogReaderTest, ReadsEveryLineOrCountsIt) {
  // The records' times and values, the notices' times, then lines, unreadable
  // lines, missing values, values out of range and the bytes left for later;
  // '|' splits the bytes into the pieces a follower reads.
  const auto read = [](const std::string& bytes) {
    LogContent c;
    std::string left;
    for (std::size_t at = 0, end = 0; end != bytes.npos; at = end + 1) {
      left += bytes.substr(at, (end = bytes.find('|', at)) - at);
      left.erase(0, ReadLines(left, c));
    }
    std::stringstream out;
    for (const Record& r : c.records)
      out << FormatStamp(ToCivil(r.Time())).substr(11) << ',' << r.Purity() << ','
          << r.Temperature() << "; ";
    for (UtcSeconds t : c.notices) out << FormatStamp(ToCivil(t)).substr(11) << " !; ";
    out << 'n' << c.lines << " u" << c.unreadable << " m" << c.missingValues << " o" << c.outOfRange
        << " l" << left.size();
    return out.str();
  };
  const std::string P = "2026/12/07 06:00:0", T = " %&DEG\r\n";  // P: a stamp but its last digit
  const std::vector<std::pair<std::string, std::string>> rows = {
      // CR LF, LF and CR each end a line, also with the CR and LF read apart; the
      // empty line is the LF after CR LF; a last line without its end is held
      {P + "1 100.0 125.25" + T + P + "2 -1.5 0 %&DEG\n" + P + "3 E-MAIL ALARM\r|\n" + P +
           "4 E-MAIL ALARM\r\n\n" + P + "5 1 2 %&DEG\r|" + P + "6 E-MAIL ALARM",
       "06:00:01,100,125.25; 06:00:02,-1.5,0; 06:00:05,1,2; 06:00:03 !; 06:00:04 !; n6 u1 m0 o0 "
       "l32"},
      // values empty, cut short ("Illegal Comman") or blank; numbers the instrument cannot
      // report (its limits are -10..110 % and -100..300 DEG)
      {P + "4  " + T + P + "5 99.9 Illegal Comman" + T + P + "6   25.3" + T + P + "7 nan inf" + T +
           P + "8 1e308 -100" + T + P + "8 110.01 300.01" + T + P + "8 -10 300" + T,
       "06:00:04,nan,nan; 06:00:05,99.9,nan; 06:00:06,nan,25.3; 06:00:07,nan,nan; "
       "06:00:08,nan,-100; 06:00:08,nan,nan; 06:00:08,-10,300; n7 u0 m5 o4 l0"},
      // unreadable: bytes, text, an empty line, a stamp alone, a near-notice, one value, a
      // space after the tail; the record after them is still read
      {std::string("\0\xff\x01 %&DEG\r\nhello\r\n\r\n", 20) + P + "9\r\n" + P +
           "9 E-MAIL ALARMS\r\n" + P + "9 99.9" + T + P + "9 1 2 %&DEG \r\n" + P + "9 1 2" + T,
       "06:00:09,1,2; n8 u7 m0 o0 l0"},
      {std::string(kMaxLineBytes + 1, 'x'), "n1 u1 m0 o0 l0"},  // too long to wait for its end
      {std::string(kMaxLineBytes, 'x'), "n0 u0 m0 o0 l4096"},
      // one line however long and in however many pieces, also one that reads as a record
      {std::string(kMaxLineBytes + 1, 'x') + "|" + std::string(3 * kMaxLineBytes, 'x') + "|x\r|\n" +
           P + "1 1 " + std::string(kMaxLineBytes, '2') + T + P + "2 1 2" + T,
       "06:00:02,1,2; n3 u2 m0 o0 l0"},
      {"2069/01/01 00:00:00 E-MAIL ALARM\r\n", "n1 u1 m0 o0 l0"},  // beyond what a record holds
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
  EXPECT_EQ(FormatOffset(-16200) + FormatOffset(0) + FormatOffset(3600), "-04:30+00:00+01:00");
}

TEST(CsvTest, KeepsTheTextsAndResolvesTheRepeatedHourByRecordOrder) {
  const InZone berlin(kBerlin);
  std::istringstream log(
      "2026/10/25 01:59:00 86.0 25.30 %&DEG\r2026/10/25 02:30:00 E-MAIL ALARM\n"
      "2026/10/25 02:59:00 Illegal Comman 25.3 %&DEG\r\nnot a record\r\n"
      "2026/10/25 02:00:00 86 a,\"b\" %&DEG\r\n2026/10/25 02:30:00  1e308 %&DEG\r\n"
      "2026/10/25 03:00:00 E-MAIL ALARM\r\n"
      "2026/10/25 03:00:01 \x1b[m\t86 ~2\x7f.5\x01 %&DEG\n"
      "2026/10/25 03:00:00 E-MAIL ALARM");  // unfinished
  std::ostringstream csv;
  WriteCsv(log, csv);
  EXPECT_EQ(csv.str(),
            "time,event,purity,temperature\n"
            "2026-10-25T01:59:00+02:00,measurement,86.0,25.30\n"
            "2026-10-25T02:30:00+02:00,E-MAIL ALARM,,\n"
            "2026-10-25T02:59:00+02:00,measurement,Illegal Comman,25.3\n"
            "2026-10-25T02:00:00+01:00,measurement,86,\"a,\"\"b\"\"\"\n"
            "2026-10-25T02:30:00+01:00,measurement,,1e308\n"
            "2026-10-25T03:00:00+01:00,E-MAIL ALARM,,\n"
            "2026-10-25T03:00:01+01:00,measurement,?[m?86,~2?.5?\n");
  log.clear(), log.seekg(0), csv.str("");
  WriteCsv(log, csv, TimeRange{Utc("2026/10/25 01:00:00"), Utc("2026/10/25 01:30:00")});
  EXPECT_EQ(csv.str(),
            "time,event,purity,temperature\n"  // the second 02:00 to 02:30 only
            "2026-10-25T02:00:00+01:00,measurement,86,\"a,\"\"b\"\"\"\n"
            "2026-10-25T02:30:00+01:00,measurement,,1e308\n");
}

TEST(ChartDataTest, LinesBreakAtGapsAndClocksSetBack) {
  // One-second records, then none for 91 s (a gap: more than five intervals),
  // then the clock set back from 200 to 150. A stretch below 80 runs from the
  // first low record to the one that reads the level again; a record without
  // a value neither begins nor ends one; a clock set back ends it.
  LogContent content;
  for (const Record& r : std::vector<Record>{{0, 90, 20},
                                             {1, 79, 20},
                                             {2, NAN, 20},
                                             {3, 70, 20},
                                             {4, 80, 20},
                                             {5, 85, 20},
                                             {9, 60, 20},
                                             {100, 70, 20},
                                             {200, 70, 20},
                                             {150, 70, 20},
                                             {151, 90, 20}})
    content.Add(r);
  BelowLevel below(80);
  below.Update(content.records);
  // {range, columns, the lines (each column's extremes in time order and the
  // nearest record either side); the stretches shaded: clipped, on whole
  // columns, those closer than a column merged}
  const std::vector<std::tuple<TimeRange, int, std::string>> rows = {
      {{0, 9}, 100, "0:90 1:79 3:70 4:80 5:85 9:60 | 1-4 9-9"},
      {{0, 300}, 10, "0:90 9:60 / 100:70 / 200:70 / 150:70 151:90 | 0-210"},
      {{0, 9}, 0, "0:90 9:60 | 0-9"},  // no columns count as one
      {{3, 5}, 10, "1:79 3:70 4:80 5:85 9:60 | 3-4"},
      {{120, 180}, 10, "150:70 151:90 | 120-180"},
  };
  for (const auto& [range, columns, expected] : rows) {
    std::string got;
    for (const Line& line : DecimateLines(content, &Record::Purity, range, columns, 5)) {
      got += got.empty() ? "" : "/ ";
      for (const Point& p : line)
        got += std::to_string(p.time) + ":" + std::to_string(int(p.value)) + " ";
    }
    got += "|";
    for (const TimeRange& r : ShadeStretches(below.Stretches(), range, columns))
      (got += ' ') += std::to_string(r.from) + "-" + std::to_string(r.to);
    EXPECT_EQ(got, expected);
  }
  EXPECT_EQ(content.Interval(), 1);

  // Blocks taken by their extremes give each column's extremes, as the records
  // taken one by one (here: by hand) do; 700 records fill large and small blocks.
  LogContent many;
  for (int i = 0; i < 700; ++i) many.Add({i, (i * 37 % 101) / 10.0, (i * 53 % 97) / 10.0});
  for (const int columns : {1, 3, 50})
    for (const Field field : {&Record::Purity, &Record::Temperature}) {
      std::map<int, std::pair<const Record*, const Record*>> extremes;  // column: low, high
      for (const Record& r : many.records) {
        auto& [low, high] = extremes[std::min(columns - 1, int(r.Time() * columns / 699))];
        if (!low || (r.*field)() < (low->*field)()) low = &r;
        if (!high || (r.*field)() > (high->*field)()) high = &r;
      }
      Line expected;
      for (const auto& [column, e] : extremes)
        for (const Record* r : {std::min(e.first, e.second), std::max(e.first, e.second)})
          if (expected.empty() || expected.back().time != r->Time())
            expected.push_back({r->Time(), (r->*field)()});
      EXPECT_EQ(DecimateLines(many, field, {0, 699}, columns, 5), std::vector<Line>{expected})
          << columns;
    }
  EXPECT_EQ(below.Total(), (4 - 1) + (200 - 9) + (151 - 150));  // never negative
  EXPECT_EQ(DecimateTimes({5, 1, 3, 60, 99, 120, -1}, {0, 99}, 2),
            (std::vector<UtcSeconds>{1, 60}));
}

TEST(ChartScaleTest, RoundStepsAndCalendarTicks) {
  std::optional<InZone> zone{"UTC0"};
  const auto scale = [](ValueScale s) {
    std::ostringstream out;
    out << s.low << '-' << s.high << '/' << s.step;
    return out.str();
  };
  EXPECT_EQ(scale(RoundScale(79.0, 100.5, 8)), "75-105/5");
  EXPECT_EQ(scale(PurityScale({92, 96, true}, 80, 8)), "75-100/5");  // not past 100
  EXPECT_EQ(scale(PurityScale({99.2, 100, true}, 99.5, 8)), "98.8-100/0.2");
  EXPECT_EQ(scale(PurityScale({}, 80, 8)), "0-100/20");
  EXPECT_EQ(scale(TemperatureScale({24.9, 25.1, true}, 8)), "22-28/1");  // noise stays noise
  EXPECT_EQ(scale(TemperatureScale({20, 30, true}, 8)), "18-32/2");

  const auto ticks = [](const char* from, const char* to, int maxTicks) {
    std::string out;
    for (const TimeTick& t : TimeTicks({Utc(from), Utc(to)}, maxTicks))
      out += (out.empty() ? "" : "|") + t.time + (t.date.empty() ? "" : " " + t.date);
    return out;
  };
  EXPECT_EQ(ticks("2026/12/07 06:00:07", "2026/12/07 06:00:30", 6),
            "06:00:10 2026/12/07|06:00:15|06:00:20|06:00:25|06:00:30");
  EXPECT_EQ(ticks("2026/12/07 06:00:00", "2026/12/07 06:04:00", 5),
            "06:00 2026/12/07|06:01|06:02|06:03|06:04");
  EXPECT_EQ(ticks("2026/12/07 06:00:00", "2026/12/07 06:14:00", 8).substr(17, 12), "06:02|06:04|");
  EXPECT_EQ(ticks("2026/06/01 00:00:00", "2029/06/01 00:00:00", 4), "2027/01|2028/01|2029/01");
  EXPECT_EQ(ticks("2026/12/31 18:00:00", "2027/01/01 06:00:00", 5),
            "18:00 2026/12/31|21:00|00:00 2027/01/01|03:00|06:00");
  EXPECT_EQ(ticks("2026/12/01 12:00:00", "2026/12/24 00:00:00", 5),  // Mondays
            "12/07 2026|12/14|12/21");
  EXPECT_EQ(ticks("2026/11/15 00:00:00", "2027/06/01 00:00:00", 4), "2027/01|2027/04");
  zone.emplace(kBerlin);  // from 01:00 summer time to 04:00 winter time
  EXPECT_EQ(ticks("2026/10/24 23:00:00", "2026/10/25 03:00:00", 9),
            "01:00 2026/10/25|01:30|02:00|02:30|02:00 UTC+01:00|02:30|03:00|03:30|04:00");
}

TEST(GlanceTest, LatestValuesAgeAndLevelNeverCurrentWhenOld) {
  const InZone utc("UTC0");
  LogContent content;
  ReadLines("2026/12/07 06:00:00 95.0 25.3 %&DEG\r\n2026/12/07 06:00:10 79.90 25.30 %&DEG\r\n",
            content);
  const UtcSeconds last = Utc("2026/12/07 06:00:10");
  const auto box = [](const ReadoutBox& b) {
    return b.headline + " / " + b.caption + " " + "NGBOQ"[int(b.tone)];
  };
  // {alarm level, seconds since the latest record, a finished run's log; age box | level box}
  const std::vector<std::tuple<double, UtcSeconds, bool, std::string>> rows = {
      {80, 50, false,  // five intervals: not yet overdue
       "50 s ago / last record, one every 10 s N | BELOW 80 % / purity under the alarm level B"},
      {80, 51, false,
       "51 s ago / overdue: one every 10 s expected O | No record for 51 s / last: BELOW 80 % Q"},
      {79.9, 37200, false,
       "10 h 20 min ago / overdue: one every 10 s expected O | No record for 10 h 20 min / "
       "last: at or above 79.9 % Q"},
      {80, -90, false,
       "1 min 30 s ahead / stamped later than this clock O | BELOW 80 % / purity under the "
       "alarm level B"},
      {79.9, 0, false,
       "0 s ago / last record, one every 10 s N | At or above 79.9 % / purity at the alarm "
       "level or over G"},
      {80, 5, true,
       "Finished run / last record 2026/12/07 06:00:10 Q | No record for 5 s / last: BELOW 80 % "
       "Q"},
  };
  for (const auto& [level, age, finished, expected] : rows) {
    const Glance g = AtAGlance(content, level, last + age, finished);
    EXPECT_EQ(box(g.age) + " | " + box(g.level), expected);
    EXPECT_EQ(g.purity.headline + " " + g.temperature.headline, "79.90 % 25.30 DEG");
  }
  EXPECT_EQ(AtAGlance(LogContent{}, 80, last, false).purity.headline, "No records");
  for (const auto& [seconds, text] : std::vector<std::pair<UtcSeconds, std::string>>{
           {-5, "0 s"}, {120, "2 min"}, {3661, "1 h 1 min"}, {86400, "1 d"}, {90000, "1 d 1 h"}})
    EXPECT_EQ(AgeText(seconds), text);
  std::string kept;  // kept runs' names, also with "-12" after the time, and others
  for (const char* name :
       {"zrv-02_20261206-184113.log", "zrv-02_20261206-184113-12.log", "run_20261206-184113",
        "zrv-02.log", "zrv-02_2026120-184113.log", "_20261206-184113.log"})
    kept += IsKeptRunName(name) ? 'y' : 'n';
  EXPECT_EQ(kept, "yyynnn");
}

TEST(StatisticsTest, FiguresOfAStretchAcrossGapsClocksSetBackAndValuesThatAreNone) {
  const InZone utc("UTC0");
  const std::string P = "2026/12/07 06:", T = " %&DEG\r\n";
  const std::string first = P + "00:00 90.0 20.0" + T + P + "00:01 79.0 21.0" + T + P +
                            "00:02 Illegal Comman 22.0" + T + P + "00:03 70.0 x" + T;
  // then a gap of ten minutes, then the clock set back to 06:05
  const std::string rest = P + "00:04 80.0 20.5" + T + P + "10:00 60 20" + T + P + "10:01 85 20" +
                           T + P + "05:00 70 20" + T + P + "05:01 90 20" + T;
  LogContent content;
  StretchStatistics whole(std::nullopt, 80);
  ReadLines(first, content);
  whole.Update(content);  // and again for the records that came since
  ReadLines(rest, content);
  whole.Update(content);
  EXPECT_EQ(ScriptFigures(whole.Figures(), 80),
            "first=2026-12-07T06:00:00+00:00\nlast=2026-12-07T06:10:01+00:00\nrecords=9\n"
            "purity_values=8\npurity_min=60.000000\npurity_mean=78.000000\n"
            "purity_max=90.000000\npurity_sample_sd=10.650285\n"
            "temperature_values=8\ntemperature_min=20.000000\ntemperature_mean=20.437500\n"
            "temperature_max=22.000000\ntemperature_sample_sd=0.728869\n"
            "alarm_level=80.000000\nbelow_seconds=5\nbelow_stretches=3\n");
  // {from, to: records, purity n min mean max sd, temperature n mean sd, below s and stretches}
  const auto figures = [&](const char* from, const char* to) {
    StretchStatistics stretch(TimeRange{Utc(from), Utc(to)}, 80);
    stretch.Update(content);
    const StretchFigures f = stretch.Figures();
    std::ostringstream out;
    out << f.records << ": " << f.purity.values << ' ' << f.purity.min << ' ' << f.purity.mean
        << ' ' << f.purity.max << ' ' << f.purity.sampleSd << "; " << f.temperature.values << ' '
        << f.temperature.mean << ' ' << f.temperature.sampleSd << "; " << f.belowTime << ' '
        << f.belowStretches;
    return out.str();
  };
  // across both runs: the gap's low stretch ends at 06:00:04, the one at 06:05:00 holds no time
  EXPECT_EQ(figures("2026/12/07 06:00:02", "2026/12/07 06:05:00"),
            "4: 3 70 73.3333 80 5.7735; 3 20.8333 1.04083; 1 2");
  EXPECT_EQ(figures("2026/12/07 06:10:01", "2026/12/07 06:10:01"),
            "1: 1 85 85 85 nan; 1 20 nan; 0 0");
  EXPECT_EQ(figures("2026/12/07 07:00:00", "2026/12/07 08:00:00"),
            "0: 0 nan nan nan nan; 0 nan nan; 0 0");
}

TEST(LogFollowerTest, FollowsAppendsAndNewRunsWithTheirAlarmEvents) {
  const std::string P = "2026/12/07 06:00:00 ", H = P + "95 2 %&DEG\r\n", L = P + "50 2 %&DEG\r\n",
                    X = P + " 2 %&DEG\r\n", E = P + "E-MAIL ALARM\r\n", R = P + "95 2 %&DEG\r";
  // {bytes appended ('+'), written over the file ('=') or into a new one after
  // moving it aside ('>'), or '-' to remove it;
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
      {"=" + R, "new run 1 0 0 0 0"},      // a lone CR ends a line
      {"+\n", "none 1 0"},                 // and the LF after it, read later, no other
      {"=" + L + R, "new run 2 0 1 1 0"},  // a first line ended by CR rewritten
      {"-", "missing 2 0"},
      {"/", "unreadable 2 0"},  // a directory where the log should be
      {"-", "missing 2 0"},
      {"=", "new run 0 0 0 0 0"},  // made again, empty
      {"+" + L, "appended 1 0 1 0 0"},
      // moved aside as a kept run and made anew: only the file tells, not its start or size
      {">" + L + H + L + H, "new run 4 0 2 2 0"},
  };
  const char* const names[] = {"none", "appended", "new run", "missing", "unreadable"};
  LogFollower follower("follow.log");
  AlarmWatch watch;  // as the window runs it
  for (const auto& [action, after] : steps) {
    const std::string kept = action[0] == '+' ? test::ReadFileBytes("follow.log") : "";
    if (action[0] == '-') std::filesystem::remove("follow.log");
    if (action[0] == '/') std::filesystem::create_directory("follow.log");
    if (action[0] == '>') std::filesystem::rename("follow.log", "follow_20261207-060000.log");
    if (action[0] != '-' && action[0] != '/')
      test::WriteFileBytes("follow.log", kept + action.substr(1));
    const LogFollower::Change change = follower.Poll();
    std::ostringstream got;
    got << names[int(change)] << ' ' << follower.Content().records.size() << ' '
        << follower.PendingBytes();
    if (change == LogFollower::Change::kNewRun) watch.NewRun();
    if (change == LogFollower::Change::kAppended || change == LogFollower::Change::kNewRun) {
      const AlarmWatch::Events e = watch.Update(follower.Content(), 80);
      got << ' ' << e.fell << ' ' << e.recovered << ' ' << e.emailAlarms;
    }
    EXPECT_EQ(got.str(), after) << action;
  }
}

}  // namespace zrv::trend
