#include "sim/SimCommandLine.h"

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace zrv::sim {

namespace {

constexpr int kMaxDelayMs = 3'600'000;

std::optional<double> Number(const QString& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::vector<double>> Numbers(const QString& text) {
  std::vector<double> values;
  for (const QString& item : text.split(',')) {
    const std::optional<double> value = Number(item);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

}  // namespace

SimCommandLine::SimCommandLine() {
  parser_.setApplicationDescription(
      "Simulated ZRV-02 purity monitor for testing the controller.\n"
      "Listens on 127.0.0.1 only and prints \"zrv02-sim listening on 127.0.0.1:PORT\" once ready.\n"
      "Commands and replies are ASCII ending in CR LF (a bare LF is accepted too):\n"
      "  VER?          firmware text, e.g. \"1.20\"\n"
      "  PURITY?       next reading, one decimal: \"100.0%\", \"99.5%\", \"9.9%\"\n"
      "  TEMP?         \"25.3DEG\"\n"
      "  THRESHOLD?    two digits, e.g. \"90\"\n"
      "  HYS?          two digits, e.g. \"05\"\n"
      "  EMAIL?        \"ON\" or \"OFF\"\n"
      "  EMAIL ON      \"OK\"        EMAIL OF      \"OK\"\n"
      "  THRESHOLD n   \"OK\" for n in 0..99\n"
      "  HYS n         \"OK\" for n in 0..99\n"
      "  anything else \"Illegal Command!!\"\n"
      "With the e-mail alarm on, a reading below the threshold sends the unasked\n"
      "\"E-MAIL ALARM\" notice as a write of its own; it then stays quiet until a\n"
      "reading above threshold + hysteresis re-arms it. Settings and the purity\n"
      "sequence are kept across connections.");
  parser_.addHelpOption();
  parser_.addVersionOption();
  parser_.addOptions({
      {"port", "TCP port on 127.0.0.1 (default 7777; 0 picks a free one).", "port"},
      {"firmware", "Reply to VER? (default 1.20; any text).", "text"},
      {"temp", "Temperature for TEMP? (default 25.3).", "degrees"},
      {"threshold", "Initial alarm threshold, 0..99 (default 90).", "n"},
      {"hysteresis", "Initial alarm hysteresis, 0..99 (default 5).", "n"},
      {"email", "Initial e-mail alarm state, on or off (default off).", "on|off"},
      {"purity", "Constant purity reading (default 99.5). Readings clamp to 0..100.", "percent"},
      {"purity-list",
       "One reading per PURITY? in this order; the last one repeats once the list is used up.",
       "a,b,c"},
      {"purity-ramp",
       "Readings start, start+step, start+2*step, ... (step may be negative), clamped to 0..100. "
       "Only one of --purity, --purity-list and --purity-ramp may be given.",
       "start,step"},
      {"notice-delay",
       "Milliseconds from a purity reply to the e-mail notice it sets off "
       "(default 100).",
       "ms"},
      {"delay", "Delay every reply by this many milliseconds (default 0).", "ms"},
      {"silent", "Never reply; commands are still executed and traced."},
      {"mute", "Never reply to this one command (e.g. TEMP?); it is still executed and traced.",
       "command"},
      {"split", "Send every reply as two TCP segments, the second 30 ms after the first."},
      {"split-gap",
       "Milliseconds between the two segments of a split reply (default 30; over 2000 the "
       "controller takes the first as a reply cut short).",
       "ms"},
      {"line-end", "End reply lines with crlf (default), cr or lf, as serial bridges may.",
       "crlf|cr|lf"},
      {"join",
       "Hold every reply until the next one is ready and send both in one write; "
       "a reply that gets no follower goes alone after 1000 ms."},
      {"close-after", "Close a connection once it has sent n replies (n >= 1; default never).",
       "n"},
      {"garbage", "Reply \"#?garbage\" CR LF instead of every proper reply."},
      {"trace",
       "Print each received command to stdout as \"HH:mm:ss.zzz #connection command\", "
       "non-printable bytes as \\xhh."},
  });
}

bool SimCommandLine::Parse(const QStringList& arguments) {
  if (!parser_.parse(arguments)) return Fail(parser_.errorText());
  if (!parser_.positionalArguments().isEmpty()) {
    return Fail("unexpected argument: " + parser_.positionalArguments().first());
  }
  return ReadValues() && ReadPurity();
}

bool SimCommandLine::ReadValues() {
  InstrumentConfig& instrument = options_.instrument;
  SimFaults& faults = options_.faults;
  int port = kDefaultPort;
  if (!ReadInt("port", 0, std::numeric_limits<quint16>::max(), port) ||
      !ReadInt("threshold", 0, 99, instrument.threshold) ||
      !ReadInt("hysteresis", 0, 99, instrument.hysteresis) ||
      !ReadInt("notice-delay", 0, kMaxDelayMs, options_.noticeDelayMs) ||
      !ReadInt("delay", 0, kMaxDelayMs, faults.replyDelayMs) ||
      !ReadInt("split-gap", 0, kMaxDelayMs, faults.splitGapMs) ||
      !ReadInt("close-after", 1, INT_MAX, faults.closeAfter)) {
    return false;
  }
  port_ = static_cast<quint16>(port);
  if (parser_.isSet("firmware")) instrument.firmware = parser_.value("firmware").toStdString();
  if (parser_.isSet("temp")) {
    const std::optional<double> temperature = Number(parser_.value("temp"));
    if (!temperature) return Fail("--temp wants a number, got: " + parser_.value("temp"));
    instrument.temperature = *temperature;
  }
  if (parser_.isSet("email")) {
    const QString email = parser_.value("email");
    if (email != "on" && email != "off") return Fail("--email wants on or off, got: " + email);
    instrument.email = email == "on";
  }
  if (parser_.isSet("line-end")) {
    const QString end = parser_.value("line-end");
    if (end != "crlf" && end != "cr" && end != "lf")
      return Fail("--line-end wants crlf, cr or lf, got: " + end);
    faults.lineEnd = end == "cr" ? "\r" : end == "lf" ? "\n" : "\r\n";
  }
  faults.mute = parser_.value("mute").toStdString();
  faults.silent = parser_.isSet("silent");
  faults.split = parser_.isSet("split");
  faults.join = parser_.isSet("join");
  faults.garbage = parser_.isSet("garbage");
  options_.printTrace = parser_.isSet("trace");
  return true;
}

bool SimCommandLine::ReadPurity() {
  const bool constant = parser_.isSet("purity");
  const bool list = parser_.isSet("purity-list");
  const bool ramp = parser_.isSet("purity-ramp");
  if (int(constant) + int(list) + int(ramp) > 1) {
    return Fail("give only one of --purity, --purity-list and --purity-ramp");
  }
  if (constant) {
    const std::optional<double> value = Number(parser_.value("purity"));
    if (!value) return Fail("--purity wants a number, got: " + parser_.value("purity"));
    options_.instrument.purity = PurityProfile::Constant(*value);
  } else if (list) {
    const std::optional<std::vector<double>> values = Numbers(parser_.value("purity-list"));
    if (!values)
      return Fail("--purity-list wants numbers a,b,c, got: " + parser_.value("purity-list"));
    options_.instrument.purity = PurityProfile::List(*values);
  } else if (ramp) {
    const std::optional<std::vector<double>> values = Numbers(parser_.value("purity-ramp"));
    if (!values || values->size() != 2) {
      return Fail("--purity-ramp wants start,step, got: " + parser_.value("purity-ramp"));
    }
    options_.instrument.purity = PurityProfile::Ramp(values->at(0), values->at(1));
  }
  return true;
}

bool SimCommandLine::ReadInt(const QString& name, int min, int max, int& target) {
  if (!parser_.isSet(name)) return true;
  bool ok = false;
  const int value = parser_.value(name).toInt(&ok);
  if (!ok || value < min || value > max) {
    return Fail(QStringLiteral("--%1 wants a whole number in %2..%3, got: %4")
                    .arg(name, QString::number(min), QString::number(max), parser_.value(name)));
  }
  target = value;
  return true;
}

bool SimCommandLine::Fail(const QString& message) {
  error_ = message;
  return false;
}

}  // namespace zrv::sim
