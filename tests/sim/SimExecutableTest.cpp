#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <memory>

#include "LoopbackClient.h"

namespace zrv::sim {
namespace {

constexpr int kProcessTimeoutMs = 5000;

// A port in 20000..32767 that is free right now on 127.0.0.1.
quint16 freePort() {
  for (;;) {
    const auto port = static_cast<quint16>(QRandomGenerator::global()->bounded(20000, 32768));
    QTcpServer probe;
    if (probe.listen(QHostAddress::LocalHost, port)) return port;
  }
}

class SimProcess {
 public:
  explicit SimProcess(const QStringList& arguments) { process_.start(ZRV02_SIM_PATH, arguments); }
  ~SimProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(kProcessTimeoutMs);
    }
  }

  bool waitForOutput(const QString& text) {
    return QTest::qWaitFor([&] { return output().contains(text); }, kProcessTimeoutMs);
  }
  bool waitForExit() { return process_.waitForFinished(kProcessTimeoutMs); }

  const QString& output() {
    output_ += QString::fromLatin1(process_.readAllStandardOutput());
    return output_;
  }
  int exitCode() const { return process_.exitCode(); }
  QString errors() { return QString::fromLatin1(process_.readAllStandardError()); }

 private:
  QProcess process_;
  QString output_;
};

TEST(SimExecutableTest, AnnouncesItselfServesAndTraces) {
  const quint16 port = freePort();
  SimProcess sim({"--port", QString::number(port), "--firmware", "2.00", "--trace"});
  ASSERT_TRUE(sim.waitForOutput(QString("zrv02-sim listening on 127.0.0.1:%1\n").arg(port)))
      << sim.output().toStdString();
  LoopbackClient client(port);
  client.send("VER?\r\nhys?\r\n");
  ASSERT_TRUE(client.waitForBytes(25));
  EXPECT_EQ(client.received(), "2.00\r\nIllegal Command!!\r\n");
  ASSERT_TRUE(sim.waitForOutput("hys?\n"));
  const QRegularExpression lines(
      R"(\n\d\d:\d\d:\d\d\.\d{3} #1 VER\?\n\d\d:\d\d:\d\d\.\d{3} #1 hys\?\n)");
  EXPECT_TRUE(lines.match(sim.output()).hasMatch()) << sim.output().toStdString();
}

struct ExitCase {
  std::string name;
  QStringList arguments;
  int exitCode;
  QString mentions;  // on stdout or stderr
};

class SimExecutableExitTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(SimExecutableExitTest, ExitsWithAReason) {
  SimProcess sim(GetParam().arguments);
  ASSERT_TRUE(sim.waitForExit());
  EXPECT_EQ(sim.exitCode(), GetParam().exitCode);
  EXPECT_TRUE((sim.output() + sim.errors()).contains(GetParam().mentions));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SimExecutableExitTest,
    ::testing::Values(ExitCase{"BadOption", {"--threshold", "100"}, 2, "--threshold"},
                      ExitCase{"Help", {"--help"}, 0, "--purity-ramp <start,step>"}),
    [](const auto& info) { return info.param.name; });

TEST(SimExecutableTest, ExitsWhenThePortIsTaken) {
  QTcpServer taken;
  ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, freePort()));
  SimProcess sim({"--port", QString::number(taken.serverPort())});
  ASSERT_TRUE(sim.waitForExit());
  EXPECT_EQ(sim.exitCode(), 1);
  EXPECT_TRUE(
      sim.errors().contains("cannot listen on 127.0.0.1:" + QString::number(taken.serverPort())));
}

}  // namespace
}  // namespace zrv::sim
