// zrv02-trend: the measurement log as a chart, followed live, or exported
// without a window.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileDialog>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <cstring>

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

}  // namespace

int main(int argc, char* argv[]) {
  using namespace zrv::trend;
  if (NeedsNoScreen(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  UseLogClock();
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
  const QCommandLineOption png("export-png", "Write the chart as a PNG and quit.", "FILE");
  const QCommandLineOption csv("export-csv", "Write time,purity,temperature as CSV and quit.",
                               "FILE");
  const QCommandLineOption noNotify("no-notify", "No desktop notifications.");
  parser.addOptions({level, png, csv, noNotify});
  parser.process(app);

  bool ok = false;
  const double alarmLevel = parser.value(level).toDouble(&ok);
  if (!ok || !std::isfinite(alarmLevel)) return Fail("--alarm-level needs a number");
  QString path = parser.positionalArguments().value(0);

  if (parser.isSet(png) || parser.isSet(csv)) {
    if (path.isEmpty()) return Fail("exporting needs a LOGFILE");
    LogFollower log(path.toStdString());
    if (log.Poll() == LogFollower::Change::kMissing) return Fail("cannot read " + path);
    const LogContent& content = log.content();
    std::fprintf(stderr, "%zu records, %zu e-mail alarms, %zu unreadable lines\n",
                 content.records.size(), content.notices.size(), content.unreadable);
    if (parser.isSet(png) &&
        !ExportPng(content, alarmLevel, QFileInfo(path).fileName(), parser.value(png)))
      return Fail("cannot write " + parser.value(png));
    if (parser.isSet(csv) && !ExportCsv(content, parser.value(csv)))
      return Fail("cannot write " + parser.value(csv));
    return 0;
  }

  if (path.isEmpty())
    path = QFileDialog::getOpenFileName(nullptr, "Open measurement log", QString(),
                                        "Logs (*.log);;All files (*)");
  if (path.isEmpty()) return 0;
  TrendWindow window(alarmLevel, !parser.isSet(noNotify));
  window.Open(path);
  window.show();
  return app.exec();
}
