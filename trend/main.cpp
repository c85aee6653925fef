// zrv02-trend: the measurement log as a chart, followed live, or exported
// without a window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "trend/ChartExport.h"
#include "trend/TrendWindow.h"

namespace {

// Exporting and the help texts need no screen: without a platform chosen they
// run offscreen, so they also work where no display exists.
bool NeedsNoScreen(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i)
    for (const char* option : {"--export-", "--stats", "-h", "--help", "-v", "--version"})
      if (std::strncmp(argv[i], option, std::strlen(option)) == 0) return true;
  return false;
}

// Qt aborts where no platform can be reached; say what to do instead.
bool NoDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (!qEnvironmentVariableIsEmpty(variable)) return false;
  return true;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "zrv02-trend: %s\n", qPrintable(message));
  return 1;
}

// A log's wall-clock stamp as the true time it stands for (the first, in an
// hour repeated at the end of summer time).
std::optional<zrv::trend::UtcSeconds> ParseWhen(const QString& text) {
  const auto civil = zrv::trend::ParseStamp(text.toStdString());
  if (!civil) return std::nullopt;
  return zrv::trend::UtcCandidates(*civil).front();
}

// The LOGFILE argument's bytes as given: a file name is bytes, and Qt decodes
// arguments as UTF-8, replacing what is not. The arguments are walked as the
// parser walks them; should the two disagree, the parser's reading is taken.
std::string LogFileBytes(int argc, char* argv[], const QList<QCommandLineOption>& options,
                         const QString& parsed) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--" && i + 1 < argc) {
      ++i;  // what follows is an argument, whatever it looks like
    } else if (arg.size() > 1 && arg[0] == '-') {
      const QString name = QString::fromUtf8(argv[i] + 2);
      if (arg.starts_with("--") && !name.contains('='))
        for (const QCommandLineOption& option : options)
          i += !option.valueName().isEmpty() && option.names().contains(name);
      continue;
    }
    if (QFile::decodeName(argv[i]) == parsed) return argv[i];
    break;
  }
  return QFile::encodeName(parsed).toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace zrv::trend;
  if (NeedsNoScreen(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (NoDisplay())
    return Fail(
        "no display to open a window on (DISPLAY is not set): use --export-png FILE, "
        "--export-csv FILE or --stats, which need none, or set DISPLAY");
  QApplication app(argc, argv);
  QApplication::setApplicationName("zrv02-trend");
  QApplication::setApplicationVersion(ZRV02_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws a ZRV-02 measurement log: purity and temperature over time, the alarm level, the "
      "stretches below it and the e-mail alarms; follows the file live while the controller "
      "writes it.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("LOGFILE", "The log to show (a file dialog opens without it).");
  const QCommandLineOption level(
      "alarm-level", QString("Alarm level in % (default %1).").arg(TrendChart::kDefaultAlarmLevel),
      "N", QString::number(TrendChart::kDefaultAlarmLevel));
  const QCommandLineOption png(
      "export-png", "Write the chart of the whole log (or --from/--to) as a PNG and quit.", "FILE");
  const QCommandLineOption csv(
      "export-csv", "Write time,event,purity,temperature as CSV (value texts as logged) and quit.",
      "FILE");
  const QCommandLineOption stats(
      "stats",
      "Print the figures of the whole log (or --from/--to), one name=value a line, and quit: "
      "first, last, records; purity_ and temperature_ values, min, mean, max, sample_sd; "
      "alarm_level, below_seconds, below_stretches.");
  const QCommandLineOption from(
      "from", "Export or --stats from this log time on (\"yyyy/mm/dd hh:nn:ss\").", "TIME");
  const QCommandLineOption to("to", "Export or --stats up to this log time.", "TIME");
  const QCommandLineOption noNotify("no-notify", "No desktop notifications.");
  const QList<QCommandLineOption> options{level, png, csv, stats, from, to, noNotify};
  parser.addOptions(options);
  parser.process(app);

  bool ok = false;
  const double alarmLevel = parser.value(level).toDouble(&ok);
  if (!ok || !std::isfinite(alarmLevel)) return Fail("--alarm-level needs a number");
  std::string path = LogFileBytes(argc, argv, options, parser.positionalArguments().value(0));
  const QString shown = ShownPath(path);

  // A directory or a file that cannot be read is an error; a log not yet
  // written is waited for in the window.
  const bool exporting = parser.isSet(png) || parser.isSet(csv) || parser.isSet(stats);
  LogFollower log(path);
  const LogFollower::Change first =
      path.empty() ? LogFollower::Change::kMissing : log.Poll(exporting ? SIZE_MAX : 0);
  if (first == LogFollower::Change::kUnreadable)
    return Fail(shown + ": " + QString::fromStdString(log.Problem()));

  if (exporting) {
    if (path.empty()) return Fail("exporting needs a LOGFILE");
    if (first == LogFollower::Change::kMissing) return Fail(shown + ": no such file");
    const LogContent& content = log.Content();
    std::optional<TimeRange> range;
    if (parser.isSet(from) || parser.isSet(to)) {
      const auto start = parser.isSet(from) ? ParseWhen(parser.value(from)) : content.first;
      const auto end = parser.isSet(to) ? ParseWhen(parser.value(to)) : content.last;
      if (!start || !end || *end <= *start)
        return Fail("--from and --to need \"yyyy/mm/dd hh:nn:ss\", --from before --to");
      range = TimeRange{*start, *end};
    }
    std::fprintf(stderr, "%zu records, %zu e-mail alarms, %zu unreadable lines\n",
                 content.records.size(), content.notices.size(), content.unreadable);
    if (parser.isSet(png) &&
        !ExportPng(content, alarmLevel, QFileInfo(shown).fileName(), parser.value(png), range))
      return Fail("cannot write " + parser.value(png));
    if (parser.isSet(csv) && !ExportCsv(path, parser.value(csv), range))
      return Fail("cannot write " + parser.value(csv));
    if (parser.isSet(stats)) {
      StretchStatistics stretch(range, alarmLevel);
      stretch.Update(content);
      std::fputs(ScriptFigures(stretch.Figures(), alarmLevel).c_str(), stdout);
    }
    return 0;
  }

  if (path.empty())
    path = QFile::encodeName(QFileDialog::getOpenFileName(nullptr, "Open measurement log",
                                                          TrendWindow::LogFolder(),
                                                          "Logs (*.log);;All files (*)"))
               .toStdString();
  if (path.empty()) return 0;
  TrendWindow window(alarmLevel, !parser.isSet(noNotify));
  window.Open(path);
  window.show();
  return app.exec();
}
