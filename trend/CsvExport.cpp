#include "trend/CsvExport.h"

#include <charconv>
#include <cmath>

namespace zrv::trend {
namespace {

void WriteValue(std::ostream& out, double value) {
  if (std::isnan(value)) return;
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.write(text, end - text);
}

}  // namespace

void WriteCsv(const LogContent& content, std::ostream& out) {
  out << "time,purity,temperature\n";
  for (const Record& r : content.records) {
    out << FormatIso(r.time) << ',';
    WriteValue(out, r.purity);
    out << ',';
    WriteValue(out, r.temperature);
    out << '\n';
  }
}

}  // namespace zrv::trend
