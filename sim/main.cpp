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
  if (!commandLine.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "zrv02-sim: %s\n", qPrintable(commandLine.errorText()));
    return 2;
  }
  if (commandLine.helpRequested()) {
    std::printf("%s", qPrintable(commandLine.helpText()));
    return 0;
  }
  if (commandLine.versionRequested()) commandLine.showVersion();

  zrv::sim::SimServer server(commandLine.options());
  if (!server.listen(commandLine.port())) {
    std::fprintf(stderr, "zrv02-sim: cannot listen on 127.0.0.1:%u: %s\n",
                 unsigned(commandLine.port()), qPrintable(server.errorString()));
    return 1;
  }
  std::printf("zrv02-sim listening on 127.0.0.1:%u\n", unsigned(server.serverPort()));
  std::fflush(stdout);
  return app.exec();
}
