#include "trend/CsvExport.h"

#include <string>

namespace zrv::trend {
namespace {

// A text as one field: quoted where a comma, quote or line end would split it.
void WriteField(std::ostream& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out << text;
    return;
  }
  out << '"';
  for (const char c : text) out << (c == '"' ? "\"\"" : std::string_view(&c, 1));
  out << '"';
}

}  // namespace

void WriteCsv(std::istream& log, std::ostream& out, std::optional<TimeRange> range) {
  out << "time,event,purity,temperature\n";
  LocalClock clock;
  for (std::string line; std::getline(log, line);) {
    const LogLine parsed = ParseLine(line);
    if (parsed.kind == LogLine::kUnreadable) continue;
    const UtcSeconds utc = clock.ToUtc(parsed.civil);
    if (range && (utc < range->from || utc > range->to)) continue;
    out << FormatIso(parsed.civil) << FormatOffset(parsed.civil - utc);
    if (parsed.kind == LogLine::kNotice) {
      out << ",E-MAIL ALARM,,\n";
      continue;
    }
    out << ",measurement,";
    WriteField(out, parsed.purity);
    out << ',';
    WriteField(out, parsed.temperature);
    out << '\n';
  }
}

}  // namespace zrv::trend
