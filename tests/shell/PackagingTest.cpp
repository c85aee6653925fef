// What the installed programs do before any window: the menu start moves
// into ~/ZRV-02 (making it if needed) and a shell start stays where it is;
// --help and --version answer on the terminal without a display and exit; a
// stop signal closes the window and the program exits with 0.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "shell/MenuStartFolder.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

TEST(MenuStartFolderTest, OnlyAMenuStartEntersTheFolderAndKeepsWhatIsThere) {
  enum InTheWay { kNothing, kFolderWithHistory, kPlainFile };
  const QByteArray savedHome = qgetenv("HOME");
  const QString savedCwd = QDir::currentPath();  // the other tests' history files are there
  // clang-format off
  const std::tuple<const char*, InTheWay, bool, bool> rows[] = {  // marker null: variable unset
      {nullptr, kNothing, false, false}, {"", kNothing, false, false}, {"1", kNothing, true, false},
      {"1", kFolderWithHistory, true, false}, {"1", kPlainFile, false, true}};
  // clang-format on
  for (const auto& [marker, inTheWay, enters, fails] : rows) {
    SCOPED_TRACE(testing::Message() << (marker ? marker : "unset") << ' ' << inTheWay);
    QTemporaryDir home;  // the start stays the working directory
    qputenv("HOME", home.path().toLocal8Bit());
    const QString folder = home.filePath(shell::kMenuStartFolderName);
    const std::string history = folder.toStdString() + "/ZRV-02_IPAddressList.Log";
    if (inTheWay == kFolderWithHistory && QDir().mkpath(folder)) WriteFileBytes(history, "x\r\n");
    if (inTheWay == kPlainFile) WriteFileBytes(folder.toStdString(), "");
    marker ? qputenv(shell::kMenuStartVariable, marker) : qunsetenv(shell::kMenuStartVariable);
    const QString failure = shell::EnterMenuStartFolder();
    EXPECT_EQ(!failure.isEmpty(), fails) << failure.toStdString();
    EXPECT_EQ(QDir::currentPath(), enters ? folder : savedCwd);
    EXPECT_EQ(QFileInfo(folder).isDir(), enters);
    EXPECT_EQ(ReadFileBytes(history), inTheWay == kFolderWithHistory ? "x\r\n" : "");
    QDir::setCurrent(savedCwd);
  }
  qputenv("HOME", savedHome);
  qunsetenv(shell::kMenuStartVariable);
}

TEST(ProgramCommandLineTest, AnswersAndExits) {
  for (const auto& [program, argument, exitCode, out] :  // out "": stdout stays empty
       {std::tuple<const char*, const char*, int, QByteArray>{
            ZRV02_CONTROLLER_PATH, "--version", 0, "zrv02-controller " ZRV02_VERSION "\n"},
        {ZRV02_CONTROLLER_PATH, "--help", 0, "~/ZRV-02"},
        {ZRV02_CONTROLLER_PATH, "zrv-02.log", 1, ""},
        {ZRV02_SIM_PATH, "--version", 0, "zrv02-sim " ZRV02_VERSION "\n"},
        {ZRV02_SIM_PATH, "--help", 0, "--purity-ramp"},
        {ZRV02_SIM_PATH, "--help-all", 0, "--purity-ramp"},
        {ZRV02_SIM_PATH, "--line-end=crcr", 2, ""}}) {
    SCOPED_TRACE(std::string(program) + " " + argument);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    // Answers need no display at all; an argument is refused by the window's application.
    environment.insert("QT_QPA_PLATFORM", exitCode == 0 ? "xcb" : "offscreen");
    process.setProcessEnvironment(environment);
    process.start(program, {argument});
    ASSERT_TRUE(process.waitForFinished(10000));
    const QByteArray stdOut = process.readAllStandardOutput();
    EXPECT_EQ(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, exitCode);
    EXPECT_TRUE(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out)) << stdOut.toStdString();
  }
}

TEST(ProgramCommandLineTest, StopSignalsCloseTheWindowAndExitWithZero) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    QProcess controller;
    controller.start(ZRV02_CONTROLLER_PATH, QStringList());
    // Caught once the window is built: its bit in the process's caught signals.
    const auto caught = [&] {
      QFile status(QString("/proc/%1/status").arg(controller.processId()));
      const QString text = status.open(QIODevice::ReadOnly) ? status.readAll() : QString();
      const QString mask = text.section("SigCgt:", 1).section('\n', 0, 0).trimmed();
      return (mask.toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    };
    ASSERT_TRUE(QTest::qWaitFor(caught, 10000));
    kill(pid_t(controller.processId()), signal);
    ASSERT_TRUE(controller.waitForFinished(10000));
    EXPECT_EQ(controller.exitStatus() == QProcess::NormalExit ? controller.exitCode() : -1, 0);
  }
}

}  // namespace zrv::test
