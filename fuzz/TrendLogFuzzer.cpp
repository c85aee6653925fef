// Arbitrary bytes as a measurement log, read whole, line by line and in the
// small pieces a follower sees while the file grows, and written as CSV.
// Every line is taken once as a record, a notice or an unreadable line, and
// what the reader returns comes from that line.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "fuzz/FuzzTarget.h"
#include "trend/CsvExport.h"

using namespace zrv::trend;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // No value, or the whole text reads as it to the kept 0.01 (strtod, not the
  // reader's own parse).
  const auto reads = [](const std::string& text, double value) {
    char* end = nullptr;
    return std::isnan(value) ||
           (!text.empty() && std::abs(std::strtod(text.c_str(), &end) - value) <= 0.005 + 1e-9 &&
            end == text.c_str() + text.size());
  };
  const auto dump = [](const LogContent& c) {
    std::ostringstream out;
    out << c.lines << ' ' << c.unreadable << ' ' << c.missingValues << ' ' << c.outOfRange;
    for (UtcSeconds t : c.notices) out << " !" << t;
    for (const Record& r : c.records)
      out << ' ' << r.Time() << '=' << r.Purity() << ',' << r.Temperature();
    return out.str();
  };
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  LogContent all, byLine, grown;
  const std::size_t taken = ReadLines(bytes, all);
  const std::string_view rest = bytes.substr(taken);
  Require(rest.find_first_of("\r\n") == rest.npos && rest.size() <= kMaxLineBytes,
          "only an unfinished line of at most kMaxLineBytes is left");

  // The lines cut here byte by byte: CR, LF and CR LF each end one.
  std::ptrdiff_t timed = 0;
  const auto readLine = [&](std::string_view line) {
    timed += ParseLine(line).kind != LogLine::kUnreadable;
    const LogLine::Kind kind = ReadLine(line, byLine);
    Require(byLine.records.size() + byLine.notices.size() + byLine.unreadable == byLine.lines,
            "every line is one record, notice or unreadable line");
    Require(line.size() <= kMaxLineBytes || kind == LogLine::kUnreadable,
            "a line longer than kMaxLineBytes is unreadable");
    const auto stamp = ParseStamp(line.substr(0, 19));
    Require(!stamp || FormatStamp(*stamp) == line.substr(0, 19), "a stamp formats back to itself");
    if (kind != LogLine::kRecord) return;
    const Record r = byLine.records.back();
    const std::string values(line.substr(20, line.size() - 26));
    bool found = false;
    for (auto sp = values.find(' '); sp != values.npos && !found; sp = values.find(' ', sp + 1))
      found =
          reads(values.substr(0, sp), r.Purity()) && reads(values.substr(sp + 1), r.Temperature());
    Require(found && stamp == ToCivil(r.Time()), "a record's time and values come from its line");
  };
  std::string line;
  for (std::size_t i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c == '\n' && i > 0 && bytes[i - 1] == '\r') continue;
    if (c != '\r' && c != '\n') line += c;
    if (c == '\r' || c == '\n') readLine(line), line.clear();
  }
  // An endless line is taken once it is too long to wait for its end.
  if (line.size() > kMaxLineBytes) readLine(line), line.clear();
  Require(dump(all) == dump(byLine) && rest == line, "read whole as read line by line");

  std::string pending;
  for (std::size_t at = 0, step = 1 + (size ? data[0] % 64 : 0); at < size; at += step) {
    pending.append(bytes.substr(at, step));
    pending.erase(0, ReadLines(pending, grown));
  }
  Require(dump(all) == dump(grown) && pending == rest, "read while growing as read whole");

  // The CSV cuts the same lines: a row for each that has a time, and no
  // control byte but the rows' ends.
  std::istringstream log{std::string(bytes)};
  std::ostringstream out;
  WriteCsv(log, out);
  const std::string csv = out.str();
  Require(std::count(csv.begin(), csv.end(), '\n') == 1 + timed, "a CSV row per line with a time");
  Require(std::none_of(csv.begin(), csv.end(),
                       [](char c) { return (c >= 0 && c < ' ' && c != '\n') || c == '\x7f'; }),
          "no control byte in a CSV field");
  return 0;
}
