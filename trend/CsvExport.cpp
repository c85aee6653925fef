#include "trend/CsvExport.h"

#include <string>

namespace zrv::trend {
namespace {

constexpr std::size_t kChunkBytes = 1 << 16;

// A text as one field: a control byte as '?', as the controller shows one
// in a reply, and quoted where a comma or quote would split it.
void WriteField(std::ostream& out, std::string_view text) {
  const bool quoted = text.find_first_of(",\"") != std::string_view::npos;
  if (quoted) out << '"';
  for (const char c : text) {
    if (c == '"') out << '"';
    out << ((c >= 0 && c < ' ') || c == '\x7f' ? '?' : c);
  }
  if (quoted) out << '"';
}

}  // namespace

void WriteCsv(std::istream& log, std::ostream& out, std::optional<TimeRange> range) {
  out << "time,event,purity,temperature\n";
  LocalClock clock;
  const auto write = [&](std::string_view line) {
    const LogLine parsed = ParseLine(line);
    if (parsed.kind == LogLine::kUnreadable) return;
    const UtcSeconds utc = clock.ToUtc(parsed.civil);
    if (range && (utc < range->from || utc > range->to)) return;
    out << FormatIso(parsed.civil) << FormatOffset(parsed.civil - utc);
    if (parsed.kind == LogLine::kNotice) {
      out << ",E-MAIL ALARM,,\n";
      return;
    }
    out << ",measurement,";
    WriteField(out, parsed.purity);
    out << ',';
    WriteField(out, parsed.temperature);
    out << '\n';
  };
  // Split as the reader splits, so the rows are the lines the chart shows.
  LineSplitter splitter;
  std::string buffer;
  while (log) {
    const std::size_t kept = buffer.size();
    buffer.resize(kept + kChunkBytes);
    log.read(buffer.data() + kept, static_cast<std::streamsize>(kChunkBytes));
    buffer.resize(kept + static_cast<std::size_t>(log.gcount()));
    buffer.erase(0, splitter.Split(buffer, write));
  }
}

}  // namespace zrv::trend
