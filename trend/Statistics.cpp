#include "trend/Statistics.h"

#include <algorithm>
#include <cstdio>

namespace zrv::trend {

void StretchStatistics::Sums::Add(double value) {
  if (std::isnan(value)) return;
  const int hundredths = static_cast<int>(std::lround(value * 100));
  ++n, sum += hundredths, squares += static_cast<long long>(hundredths) * hundredths;
  low = std::min(low, hundredths), high = std::max(high, hundredths);
}

FieldFigures StretchStatistics::Sums::Figures() const {
  FieldFigures f;
  f.values = n;
  if (n == 0) return f;
  f.min = low / 100.0, f.max = high / 100.0;
  const auto count = static_cast<long double>(n);
  f.mean = static_cast<double>(sum / count / 100);
  // n * squares - sum^2 exceeds 64 bits for a year of records.
  const __int128 spread = static_cast<__int128>(n) * squares - static_cast<__int128>(sum) * sum;
  if (n > 1)
    f.sampleSd = static_cast<double>(
        std::sqrt(static_cast<long double>(spread) / (count * (count - 1))) / 100);
  return f;
}

void StretchStatistics::Add(const Record& r) {
  if (range_ && (r.Time() < range_->from || r.Time() > range_->to)) return;
  StretchFigures& c = counts_;
  if (c.records == 0 || r.Time() < c.first) c.first = r.Time();
  if (c.records == 0 || r.Time() >= c.last)
    c.last = r.Time(), c.lastPurity = r.Purity(), c.lastTemperature = r.Temperature();
  ++c.records;
  purity_.Add(r.Purity());
  temperature_.Add(r.Temperature());
  below_.Add(r);
}

void StretchStatistics::Update(const LogContent& content) {
  const std::vector<Record>& records = content.records;
  if (records.size() < next_) *this = StretchStatistics(range_, below_.Level());
  if (next_ == 0 && range_) {
    // Each run is in rising time: only its records within the range are read.
    for (std::size_t run = 0; run < content.runs.size(); ++run) {
      const auto end = records.begin() + static_cast<std::ptrdiff_t>(run + 1 < content.runs.size()
                                                                         ? content.runs[run + 1]
                                                                         : records.size());
      auto at = std::lower_bound(records.begin() + static_cast<std::ptrdiff_t>(content.runs[run]),
                                 end, range_->from,
                                 [](const Record& r, UtcSeconds t) { return r.Time() < t; });
      for (; at != end && at->Time() <= range_->to; ++at) Add(*at);
    }
    next_ = records.size();
  }
  for (; next_ < records.size(); ++next_) Add(records[next_]);
}

StretchFigures StretchStatistics::Figures() const {
  StretchFigures f = counts_;
  f.purity = purity_.Figures();
  f.temperature = temperature_.Figures();
  f.belowTime = below_.Total();
  f.belowStretches = below_.Stretches().size();
  return f;
}

std::string ScriptFigures(const StretchFigures& f, double level) {
  std::string out;
  const auto line = [&out](const std::string& name, const std::string& value) {
    out += name + '=' + value + '\n';
  };
  const auto time = [&f](UtcSeconds t) {
    return f.records ? FormatIso(ToCivil(t)) + FormatOffset(UtcOffsetAt(t)) : std::string();
  };
  const auto number = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", v);
    return std::string(std::isnan(v) ? "nan" : text);
  };
  line("first", time(f.first));
  line("last", time(f.last));
  line("records", std::to_string(f.records));
  for (const auto& [name, field] :
       {std::pair<std::string, const FieldFigures*>{"purity", &f.purity},
        {"temperature", &f.temperature}}) {
    line(name + "_values", std::to_string(field->values));
    line(name + "_min", number(field->min));
    line(name + "_mean", number(field->mean));
    line(name + "_max", number(field->max));
    line(name + "_sample_sd", number(field->sampleSd));
  }
  line("alarm_level", number(level));
  line("below_seconds", std::to_string(f.belowTime));
  line("below_stretches", std::to_string(f.belowStretches));
  return out;
}

}  // namespace zrv::trend
