// Entry of the shell and simulator tests: an offscreen application in a fresh working
// directory whose history files point the window at 127.0.0.1, so no test
// ever reaches for the design's default host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTcpServer>

#include "shell/ShellFonts.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TempWorkDir.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zrv::shell::InstallFontSubstitutions();
  testing::InitGoogleTest(&argc, argv);
  zrv::test::EnterTempWorkDir();
  // A port nobody listens on once the probe is gone: nothing answers there.
  zrv::test::WriteLocalHistory(zrv::test::ListenLocally(
      [](quint16 port) { return QTcpServer().listen(QHostAddress::LocalHost, port); }));
  return RUN_ALL_TESTS();
}
