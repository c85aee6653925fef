// zrv02-trend: the measurement log as a chart, followed live, or exported
// without a window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileDialog>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "trend/ChartExport.h"
#include "trend/TrendWindow.h"

namespace {

// Exporting and the help texts need no screen: without a platform chosen they
// run offscreen, so they also work where no display exists.
bool NeedsNoScreen(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i)
    for (const char* option : {"--export-", "-h", "--help", "-v", "--version"})
      if (std::strncmp(argv[i], option, std::strlen(option)) == 0) return true;
  return false;
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

}  // namespace

int main(int argc, char* argv[]) {
  using namespace zrv::trend;
  if (NeedsNoScreen(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("zrv02-trend");
  QApplication::setApplicationVersion(ZRV_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws a ZRV-02 measurement log: purity and temperature over time, the alarm level, the "
      "stretches below it and the e-mail alarms; follows the file live while the controller "
      "writes it.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("LOGFILE", "The log to show (a file dialog opens without it).");
  const QCommandLineOption level("alarm-level", "Alarm level in % (default 80).", "N", "80");
  const QCommandLineOption png(
      "export-png", "Write the chart of the whole log (or --from/--to) as a PNG and quit.", "FILE");
  const QCommandLineOption csv(
      "export-csv", "Write time,event,purity,temperature as CSV (value texts as logged) and quit.",
      "FILE");
  const QCommandLineOption from("from", "Export from this log time on (\"yyyy/mm/dd hh:nn:ss\").",
                                "TIME");
  const QCommandLineOption to("to", "Export up to this log time.", "TIME");
  const QCommandLineOption noNotify("no-notify", "No desktop notifications.");
  parser.addOptions({level, png, csv, from, to, noNotify});
  parser.process(app);

  bool ok = false;
  const double alarmLevel = parser.value(level).toDouble(&ok);
  if (!ok || !std::isfinite(alarmLevel)) return Fail("--alarm-level needs a number");
  QString path = parser.positionalArguments().value(0);

  // A directory or a file that cannot be read is an error; a log not yet
  // written is waited for in the window.
  const bool exporting = parser.isSet(png) || parser.isSet(csv);
  LogFollower log(path.toStdString());
  const LogFollower::Change first =
      path.isEmpty() ? LogFollower::Change::kMissing : log.Poll(exporting ? SIZE_MAX : 0);
  if (first == LogFollower::Change::kUnreadable)
    return Fail(path + ": " + QString::fromStdString(log.Problem()));

  if (exporting) {
    if (path.isEmpty()) return Fail("exporting needs a LOGFILE");
    if (first == LogFollower::Change::kMissing) return Fail(path + ": no such file");
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
        !ExportPng(content, alarmLevel, QFileInfo(path).fileName(), parser.value(png), range))
      return Fail("cannot write " + parser.value(png));
    if (parser.isSet(csv) && !ExportCsv(path, parser.value(csv), range))
      return Fail("cannot write " + parser.value(csv));
    return 0;
  }

  if (path.isEmpty())
    path = QFileDialog::getOpenFileName(nullptr, "Open measurement log", TrendWindow::LogFolder(),
                                        "Logs (*.log);;All files (*)");
  if (path.isEmpty()) return 0;
  TrendWindow window(alarmLevel, !parser.isSet(noNotify));
  window.Open(path);
  window.show();
  return app.exec();
}
