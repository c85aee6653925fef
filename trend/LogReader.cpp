#include "trend/LogReader.h"

#include <charconv>
#include <cmath>

namespace zrv::trend {
namespace {

constexpr std::string_view kPairTail = " %&DEG";
constexpr std::string_view kNotice = "E-MAIL ALARM";
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint32_t kNoIndex = UINT32_MAX;

// The whole text as a number (an overflow as infinity), or NaN.
double Number(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size()) return kMissing;
  if (error == std::errc::result_out_of_range) return INFINITY;
  return error == std::errc() ? value : kMissing;
}

std::int16_t Hundredths(double value) {
  if (std::isnan(value)) return INT16_MIN;
  const double scaled = value * 100;
  return static_cast<std::int16_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

// The number if the instrument can report it, else NaN; counts what it is not.
double Reportable(double value, ValueLimits limits, LogContent& into) {
  if (value >= limits.low && value <= limits.high) return value;
  ++(std::isnan(value) ? into.missingValues : into.outOfRange);
  return kMissing;
}

}  // namespace

Record::Record(UtcSeconds time, double purity, double temperature)
    : time_(static_cast<std::int32_t>(time - kEpoch)),
      purity_(Hundredths(purity)),
      temperature_(Hundredths(temperature)) {}

LogLine ParseLine(std::string_view line) {
  LogLine parsed;
  if (line.size() > kMaxLineBytes) return parsed;
  const auto time = ParseStamp(line.substr(0, kStampLength));
  if (!time || line.size() <= kStampLength || line[kStampLength] != ' ') return parsed;
  parsed.civil = *time;
  const std::string_view text = line.substr(kStampLength + 1);
  if (text == kNotice) {
    parsed.kind = LogLine::kNotice;
    return parsed;
  }
  if (!text.ends_with(kPairTail)) return parsed;
  const std::string_view values = text.substr(0, text.size() - kPairTail.size());
  int bestScore = -1;
  for (std::size_t at = values.find(' '); at != std::string_view::npos;
       at = values.find(' ', at + 1)) {
    const std::string_view purity = values.substr(0, at), temperature = values.substr(at + 1);
    const double p = Number(purity), t = Number(temperature);
    const int score = !std::isnan(p) + !std::isnan(t);
    if (score > bestScore) {
      parsed = {LogLine::kRecord, *time, purity, temperature, p, t};
      bestScore = score;
    }
  }
  return parsed;
}

void Extent::Add(double v) {
  if (std::isnan(v)) return;
  low = any ? std::min(low, v) : v, high = any ? std::max(high, v) : v, any = true;
}

void LogContent::Widen(UtcSeconds time) {
  first = anyTime ? std::min(first, time) : time, last = anyTime ? std::max(last, time) : time;
  anyTime = true;
}

void LogContent::Add(const Record& r) {
  const std::size_t i = records.size();
  if (i == 0 || r.Time() < records.back().Time()) runs.push_back(i);
  if (i > 0 && r.Time() > records.back().Time()) {
    const auto step = static_cast<std::size_t>(r.Time() - records.back().Time());
    if (step <= kLongestCountedStep) {
      if (steps_.size() <= step) steps_.resize(step + 1);
      if (++steps_[step] > (interval_ ? steps_[interval_] : 0)) interval_ = UtcSeconds(step);
    }
  }
  records.push_back(r);
  Widen(r.Time());
  purity.Add(r.Purity());
  temperature.Add(r.Temperature());
  const double values[] = {r.Purity(), r.Temperature()};
  for (auto* level : {&blocks, &smallBlocks}) {
    if (i % (level == &blocks ? kBlock : kSmallBlock) == 0)
      level->push_back({{kNoIndex, kNoIndex, kNoIndex, kNoIndex}});
    auto& index = level->back().index;
    for (int f = 0; f < 2; ++f) {
      const double v = values[f];
      if (std::isnan(v)) continue;
      const Field field = f == 0 ? &Record::Purity : &Record::Temperature;
      std::uint32_t &low = index[2 * f], &high = index[2 * f + 1];
      if (low == kNoIndex || v < (records[low].*field)()) low = std::uint32_t(i);
      if (high == kNoIndex || v > (records[high].*field)()) high = std::uint32_t(i);
    }
  }
}

void LogContent::AddNotice(UtcSeconds time) {
  notices.push_back(time);
  Widen(time);
}

LogLine::Kind ReadLine(std::string_view line, LogContent& into) {
  ++into.lines;
  const LogLine parsed = ParseLine(line);
  const UtcSeconds time = parsed.kind == LogLine::kUnreadable ? 0 : into.clock.ToUtc(parsed.civil);
  if (parsed.kind == LogLine::kUnreadable || !Record::Holds(time)) {
    ++into.unreadable;
    return LogLine::kUnreadable;
  }
  if (parsed.kind == LogLine::kNotice) {
    into.AddNotice(time);
    return LogLine::kNotice;
  }
  const double purity = Reportable(parsed.purityValue, kPurityLimits, into);
  into.Add({time, purity, Reportable(parsed.temperatureValue, kTemperatureLimits, into)});
  return LogLine::kRecord;
}

std::size_t ReadLines(std::string_view bytes, LogContent& into) {
  std::string_view lastRecord;
  const std::size_t taken = into.splitter.Split(bytes, [&](std::string_view line) {
    if (ReadLine(line, into) == LogLine::kRecord) lastRecord = line;
  });
  // The readout's texts, kept once per call rather than once per record.
  if (!lastRecord.empty()) {
    const LogLine parsed = ParseLine(lastRecord);
    into.lastPurity = parsed.purity;
    into.lastTemperature = parsed.temperature;
  }
  return taken;
}

}  // namespace zrv::trend
