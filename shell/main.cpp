// The controller program: one window; besides --help and --version, only
// the opt-in endpoints (--metrics-listen, --modbus-listen).
// It works in the current directory, where it keeps its address history
// files; started from the desktop menu, in ~/ZRV-02.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

#include "adapters/StopSignals.h"
#include "shell/EndpointOptions.h"
#include "shell/MainWindow.h"
#include "shell/MenuStartFolder.h"
#include "shell/QtMessageBox.h"
#include "shell/ShellFonts.h"

int main(int argc, char** argv) {
  QApplication::setApplicationName("zrv02-controller");
  QApplication::setApplicationVersion(ZRV02_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Desktop controller for the ZRV-02 purity monitor.\n"
      "Keeps its address history files (ZRV-02_IPAddressList.Log, ZRV-02_PortList.Log)\n"
      "in the current directory; started from the desktop menu, in ~/ZRV-02.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addOptions(zrv::shell::EndpointOptions());
  if (argc > 1) {
    // --help and --version answer before the window's application needs a
    // display, so they work over ssh and in scripts; all else is checked below.
    const QCoreApplication plain(argc, argv);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help)) parser.showHelp();
    if (parser.isSet(version)) parser.showVersion();
  }
  // Qt aborts where no platform can be reached; say what to do instead.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "zrv02-controller: no display to open its window on (DISPLAY is not set): set "
                 "DISPLAY, or start it under a virtual display (xvfb-run zrv02-controller)\n");
    return 1;
  }
  QApplication app(argc, argv);
  parser.process(app);
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "zrv02-controller: unexpected argument '%s'\n",
                 qPrintable(parser.positionalArguments().first()));
    return 1;
  }

  if (const QString failed = zrv::shell::EnterMenuStartFolder(); !failed.isEmpty()) {
    std::fprintf(stderr, "zrv02-controller: %s; working in %s instead\n", qPrintable(failed),
                 qPrintable(QDir::currentPath()));
  }
  zrv::shell::InstallFontSubstitutions();
  zrv::shell::QtMessageBox messages;
  zrv::shell::MainWindow window(messages);
  messages.SetWindow(&window);
  if (!zrv::shell::StartEndpoints(parser, window)) return 1;
  const zrv::adapters::StopSignals stopSignals([&window] { window.close(); });
  window.show();
  return app.exec();
}
