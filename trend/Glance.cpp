#include "trend/Glance.h"

#include <cmath>
#include <regex>
#include <sstream>

#include "trend/Decimation.h"

namespace zrv::trend {

std::string AgeText(UtcSeconds s) {
  s = std::max<UtcSeconds>(s, 0);
  const auto two = [](UtcSeconds a, const char* unitA, UtcSeconds b, const char* unitB) {
    return std::to_string(a) + ' ' + unitA + (b ? ' ' + std::to_string(b) + ' ' + unitB : "");
  };
  if (s < kMinute) return std::to_string(s) + " s";
  if (s < kHour) return two(s / kMinute, "min", s % kMinute, "s");
  if (s < kDay) return two(s / kHour, "h", s % kHour / kMinute, "min");
  return two(s / kDay, "d", s % kDay / kHour, "h");
}

bool IsKeptRunName(std::string_view name) {
  static const std::regex kKept(R"(.+_[0-9]{8}-[0-9]{6}(-[0-9]+)?(\.[^.]*)?)");
  return std::regex_match(name.begin(), name.end(), kKept);
}

Glance AtAGlance(const LogContent& content, double alarmLevel, UtcSeconds now, bool finished) {
  Glance g;
  if (content.records.empty()) {
    g.purity.headline = "No records";
    return g;
  }
  const Record& last = content.records.back();
  const auto value = [](const std::string& text, const char* unit) {
    return text.empty() ? std::string("no value") : text + ' ' + unit;
  };
  g.purity = {value(content.lastPurity, "%"), "purity", Tone::kNormal};
  g.temperature = {value(content.lastTemperature, "DEG"), "temperature", Tone::kNormal};

  std::ostringstream levelText;
  levelText << alarmLevel << " %";
  const bool known = !std::isnan(last.Purity()), below = known && last.Purity() < alarmLevel;
  const std::string state = !known  ? "no purity value"
                            : below ? "BELOW " + levelText.str()
                                    : "at or above " + levelText.str();

  const bool ahead = last.Time() > now;
  const std::string age = AgeText(ahead ? last.Time() - now : now - last.Time());
  // Without a known interval a minute stands in for it.
  const UtcSeconds interval = content.Interval() ? content.Interval() : kMinute;
  const std::string every =
      content.Interval() ? "one every " + AgeText(content.Interval()) : "one so far";
  const bool overdue = !ahead && now - last.Time() > kMissedIntervals * interval;
  if (finished)
    g.age = {"Finished run", "last record " + FormatStamp(ToCivil(last.Time())), Tone::kQuiet};
  else if (ahead)
    g.age = {age + " ahead", "stamped later than this clock", Tone::kOverdue};
  else if (overdue)
    g.age = {age + " ago", "overdue: " + every + " expected", Tone::kOverdue};
  else
    g.age = {age + " ago", "last record, " + every, Tone::kNormal};

  if ((finished || overdue) && !ahead)
    g.level = {"No record for " + age, "last: " + state, Tone::kQuiet};
  else if (!known)
    g.level = {"No purity value", "in the latest record", Tone::kQuiet};
  else if (below)
    g.level = {state, "purity under the alarm level", Tone::kBelow};
  else
    g.level = {"At or above " + levelText.str(), "purity at the alarm level or over", Tone::kGood};
  return g;
}

}  // namespace zrv::trend
