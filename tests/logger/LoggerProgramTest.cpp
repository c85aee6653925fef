// The real zrv02-logger against the simulator on 127.0.0.1: it tells systemd
// it is ready and alive, records at the interval, continues its log after a
// kill, waits out an instrument that goes away and records again when it
// comes back, runs beside a second logger, and ends on SIGTERM with status 0.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <csignal>

#include "sim/SimServer.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

// A datagram socket standing in for systemd's notification socket, read as
// the messages come (a full one would hold the sender up).
class NotifySocket {
 public:
  NotifySocket()
      : fd_(socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0)), reader_(fd_, QSocketNotifier::Read) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path_ = QDir::current().filePath("notify");
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", qPrintable(path_));
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    QObject::connect(&reader_, &QSocketNotifier::activated, [this] {
      char message[512];
      for (ssize_t n; (n = recv(fd_, message, sizeof message, 0)) > 0;)
        heard_ += QString::fromUtf8(message, n) + "\n";
    });
  }
  ~NotifySocket() { close(fd_); }
  const QString& Path() const { return path_; }
  // Every message so far, one a line.
  const QString& Heard() const { return heard_; }

 private:
  int fd_;
  QSocketNotifier reader_;
  QString path_, heard_;
};

int LogLines(const QString& log) {
  return static_cast<int>(QString::fromStdString(ReadFileBytes(log.toStdString())).count("\r\n"));
}

TEST(LoggerProgram, RecordsContinuesWaitsOutAnOutageAndStopsCleanly) {
  sim::SimServer sim(sim::SimOptions{.instrument = {.firmware = "1.10"}});
  const quint16 port = ListenLocally([&](quint16 p) { return sim.Listen(p); });
  NotifySocket systemd;
  const auto start = [&](QProcess& logger, const QString& log) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("NOTIFY_SOCKET", systemd.Path());
    environment.insert("WATCHDOG_USEC", "400000");
    logger.setProcessEnvironment(environment);
    logger.start(ZRV02_LOGGER_PATH, {"--host", "127.0.0.1", "--port", QString::number(port),
                                     "--interval", "1", "--log", log});
  };
  QProcess first, second;
  start(first, "first.log");
  start(second, "second.log");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return LogLines("first.log") >= 3 && LogLines("second.log") >= 3; }, 8000));
  // Records a second apart, and systemd heard of each step.
  const QString lines = QString::fromStdString(ReadFileBytes("first.log"));
  const QRegularExpression stamp(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:(\d\d) 99\.5 25\.3 %&DEG\r$)",
                                 QRegularExpression::MultilineOption);
  QList<int> seconds;
  for (auto match = stamp.globalMatch(lines); match.hasNext();)
    seconds << match.next().captured(1).toInt();
  ASSERT_GE(seconds.size(), 3);
  EXPECT_EQ((seconds[2] - seconds[1] + 60) % 60, 1) << lines.toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return systemd.Heard().contains("READY=1\n") && systemd.Heard().contains("WATCHDOG=1\n") &&
           systemd.Heard().contains("STATUS=recording: last record ");
  }));
  // Killed and started again, it continues its log byte for byte.
  first.kill();
  first.waitForFinished();
  const std::string kept = ReadFileBytes("first.log");
  start(first, "first.log");
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return ReadFileBytes("first.log").size() > kept.size() + 40; }, 8000));
  EXPECT_EQ(ReadFileBytes("first.log").substr(0, kept.size()), kept);
  // The instrument away for longer than the link's retries, then back.
  sim.Close();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return systemd.Heard().contains("STATUS=instrument away: "); }, 30000));
  ASSERT_TRUE(sim.Listen(port));
  const int before = LogLines("first.log");
  EXPECT_TRUE(QTest::qWaitFor([&] { return LogLines("first.log") > before; }, 15000));
  // SIGTERM: a whole last line and status 0 within 3 s.
  QElapsedTimer stopping;
  stopping.start();
  first.terminate();
  // Waited for with the event loop running, which reads what it tells systemd.
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 3000));
  EXPECT_LT(stopping.elapsed(), 3000);
  EXPECT_EQ(std::tuple(first.exitStatus(), first.exitCode()), std::tuple(QProcess::NormalExit, 0));
  EXPECT_TRUE(ReadFileBytes("first.log").ends_with("%&DEG\r\n"));
  second.terminate();
  EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 3000));
}

// A refusal comes before anything is opened, sent or written.
TEST(LoggerProgram, RefusesBadInputWithStatusTwo) {
  QProcess logger;
  logger.start(ZRV02_LOGGER_PATH, {"--host", "127.0.0.1", "--port", "0", "--log", "refused.log"});
  ASSERT_TRUE(logger.waitForFinished(5000));
  EXPECT_EQ(logger.exitCode(), 2);
  EXPECT_EQ(logger.readAllStandardError(),
            "zrv02-logger: --port: wants a port from 1 to 32767, got '0'\n");
  EXPECT_FALSE(QFileInfo::exists("refused.log"));
}

}  // namespace
}  // namespace zrv::test
