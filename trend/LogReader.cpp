#include "trend/LogReader.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zrv::trend {
namespace {

constexpr std::string_view kPairTail = " %&DEG";
constexpr std::string_view kNotice = "E-MAIL ALARM";
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// The whole text as a finite number, or NaN.
double Number(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return kMissing;
  return value;
}

// "<purity> <temp>": the texts may hold spaces themselves (a cut "Illegal
// Command!!"), so take the split at which most of the two read as numbers.
Record SplitPair(std::string_view values, CivilSeconds time) {
  Record best{time, kMissing, kMissing};
  int bestScore = -1;
  for (std::size_t at = values.find(' '); at != std::string_view::npos;
       at = values.find(' ', at + 1)) {
    const Record r{time, Number(values.substr(0, at)), Number(values.substr(at + 1))};
    const int score = !std::isnan(r.purity) + !std::isnan(r.temperature);
    if (score > bestScore) best = r, bestScore = score;
  }
  return best;
}

}  // namespace

LineKind ReadLine(std::string_view line, LogContent& into) {
  ++into.lines;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto time = ParseStamp(line.substr(0, 19));
  if (!time || line.size() < 20 || line[19] != ' ') {
    ++into.unreadable;
    return LineKind::kUnreadable;
  }
  const std::string_view text = line.substr(20);
  if (text == kNotice) {
    into.notices.push_back(*time);
    return LineKind::kNotice;
  }
  if (!text.ends_with(kPairTail) ||
      text.substr(0, text.size() - kPairTail.size()).find(' ') == std::string_view::npos) {
    ++into.unreadable;
    return LineKind::kUnreadable;
  }
  const Record r = SplitPair(text.substr(0, text.size() - kPairTail.size()), *time);
  into.missingValues += std::isnan(r.purity) + std::isnan(r.temperature);
  into.records.push_back(r);
  return LineKind::kRecord;
}

std::size_t ReadLines(std::string_view bytes, LogContent& into) {
  std::size_t taken = 0;
  for (std::size_t end; (end = bytes.find('\n', taken)) != std::string_view::npos; taken = end + 1)
    ReadLine(bytes.substr(taken, end - taken), into);
  if (bytes.size() - taken > kMaxLineBytes) {
    ++into.lines;
    ++into.unreadable;
    taken = bytes.size();
  }
  return taken;
}

}  // namespace zrv::trend
