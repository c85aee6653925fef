// Arbitrary bytes as a measurement log, read whole, line by line and in the
// small pieces a follower sees while the file grows. Every line is taken once
// as a record, a notice or an unreadable line, and what the reader returns
// comes from that line; a broken invariant aborts with its name.
#include <charconv>
#include <cmath>

#include "fuzz/Require.h"
#include "trend/LogReader.h"

namespace zrv::trend {
namespace {

std::string Text(double value) {  // as the controller writes it; empty for none
  char text[32];
  return std::isnan(value) ? "" : std::string(text, std::to_chars(text, text + 32, value).ptr);
}

// No value, or the whole text reads as it (strtod, not the reader's own parse).
bool Reads(const std::string& text, double value) {
  char* end = nullptr;
  return std::isnan(value) || (!text.empty() && std::strtod(text.c_str(), &end) == value &&
                               end == text.c_str() + text.size());
}

std::string Dump(const LogContent& c) {
  std::string s = std::to_string(c.lines) + " " + std::to_string(c.unreadable) + " " +
                  std::to_string(c.missingValues);
  for (CivilSeconds t : c.notices) s += " !" + std::to_string(t);
  for (const Record& r : c.records)
    s += " " + std::to_string(r.time) + "=" + Text(r.purity) + "," + Text(r.temperature);
  return s;
}

// One more line read into `c`, checked against its bytes.
void CheckLine(std::string_view line, LogContent& c) {
  const std::size_t missing = c.missingValues;
  const LineKind kind = ReadLine(line, c);
  Require(c.records.size() + c.notices.size() + c.unreadable == c.lines,
          "every line is one record, notice or unreadable line");
  if (line.ends_with('\r')) line.remove_suffix(1);
  const auto stamp = ParseStamp(line.substr(0, 19));
  Require(!stamp || FormatStamp(*stamp) == line.substr(0, 19), "a stamp formats back to itself");
  const bool notice = stamp && line.substr(19) == " E-MAIL ALARM";
  Require(notice == (kind == LineKind::kNotice) && (!notice || c.notices.back() == *stamp),
          "a notice is its stamp and E-MAIL ALARM");
  if (kind != LineKind::kRecord) return;
  const Record r = c.records.back();
  Require(stamp == r.time && line[19] == ' ' && line.ends_with(" %&DEG") &&
              c.missingValues - missing == std::isnan(r.purity) + 0u + std::isnan(r.temperature),
          "a record is a stamped pair, its missing values counted");
  const std::string values(line.substr(20, line.size() - 26));
  bool found = false;
  for (auto at = values.find(' '); at != values.npos && !found; at = values.find(' ', at + 1))
    found = Reads(values.substr(0, at), r.purity) && Reads(values.substr(at + 1), r.temperature);
  Require(found, "a record's values are the texts either side of a space of its pair");
  // The controller's line for this time and values (missing ones made up) reads back.
  const std::string p = Text(std::isnan(r.purity) ? line.size() * 0.1 : r.purity),
                    t = Text(std::isnan(r.temperature) ? -0.5 * values.size() : r.temperature);
  LogContent again;
  ReadLine(FormatStamp(r.time) + " " + p + " " + t + " %&DEG\r", again);
  Require(Dump(again) == "1 0 0 " + std::to_string(r.time) + "=" + p + "," + t,
          "the controller's line for a record reads back");
}

}  // namespace
}  // namespace zrv::trend

using namespace zrv::trend;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  LogContent all, byLine, grown;
  const std::size_t taken = ReadLines(bytes, all);
  const std::string_view rest = bytes.substr(taken);
  Require(rest.find('\n') == rest.npos && rest.size() <= kMaxLineBytes,
          "only an unfinished line of at most kMaxLineBytes is left");

  std::size_t longest = rest.size();
  for (std::size_t at = 0, lf; at < taken; at = std::min(lf, taken) + 1) {
    lf = bytes.find('\n', at);
    longest = std::max(longest, std::min(lf, taken) - at);
    if (lf < taken)
      CheckLine(bytes.substr(at, lf - at), byLine);
    else
      ++byLine.lines, ++byLine.unreadable;  // an endless line, cut
  }
  Require(Dump(all) == Dump(byLine), "read whole as read line by line");

  std::string pending;
  for (std::size_t at = 0, step = 1 + (size ? data[0] % 64 : 0); at < size; at += step) {
    pending.append(bytes.substr(at, step));
    pending.erase(0, ReadLines(pending, grown));
  }
  Require(longest > kMaxLineBytes || (Dump(all) == Dump(grown) && pending == rest),
          "read while growing as read whole");
  return 0;
}
