// zrv02-sim: the simulated instrument as a process, for manual runs and
// scripts. Prints the listening line first so a script knows when to connect.
#include <QCoreApplication>
#include <cstdio>

#include "sim/SimCommandLine.h"
#include "sim/SimServer.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("zrv02-sim");
  QCoreApplication::setApplicationVersion(ZRV02_VERSION);

  zrv::sim::SimCommandLine commandLine;
  if (!commandLine.Parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "zrv02-sim: %s\n", qPrintable(commandLine.ErrorText()));
    return 2;
  }
  if (commandLine.HelpRequested()) {
    std::printf("%s", qPrintable(commandLine.HelpText()));
    return 0;
  }
  if (commandLine.VersionRequested()) commandLine.ShowVersion();

  zrv::sim::SimServer server(commandLine.Options());
  if (!server.Listen(commandLine.Port())) {
    std::fprintf(stderr, "zrv02-sim: cannot listen on 127.0.0.1:%u: %s\n",
                 unsigned(commandLine.Port()), qPrintable(server.ErrorString()));
    return 1;
  }
  std::printf("zrv02-sim listening on 127.0.0.1:%u\n", unsigned(server.ServerPort()));
  std::fflush(stdout);
  return app.exec();
}
