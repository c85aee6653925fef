// zrv02-logger: the controller without a window, for unattended logging as
// a service. Exit status 2 refuses bad options before anything is opened,
// sent or written.
#include <QCoreApplication>
#include <cstdio>

#include "adapters/StopSignals.h"
#include "logger/LoggerService.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("zrv02-logger");
  QCoreApplication::setApplicationVersion(ZRV02_VERSION);
  QString refusal;
  const auto settings = zrv::logger::ReadLoggerSettings(QCoreApplication::arguments(), refusal);
  if (!settings) {
    std::fprintf(stderr, "zrv02-logger: %s\n", qPrintable(refusal));
    return 2;
  }
  zrv::logger::LoggerService service(*settings);
  const zrv::adapters::StopSignals stopSignals([&service] { service.Stop(); });
  service.Start();
  return QCoreApplication::exec();
}
