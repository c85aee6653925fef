#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QProcess>
#include <QTcpServer>
#include <memory>

#include "LoopbackClient.h"

// g++ 12 at -O2 takes the default purity profile inside the case tables below
// for uninitialised on its exception path (a false -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace zrv::sim {
namespace {

std::unique_ptr<SimServer> Listening(SimOptions options = {}) {
  auto server = std::make_unique<SimServer>(std::move(options));
  EXPECT_TRUE(server->listen(0)) << server->errorString().toStdString();
  return server;
}

TEST(SimServer, RepliesAsTheFaultsSay) {
  const struct {
    SimOptions options;
    QByteArray sent, received;
    qsizetype traced, blocks;  // blocks the replies arrive in; 0: any
    bool closes = false;
  } rows[] = {
      {{}, "THRESHOLD 95\r\nHYS 2\r\nTHRESHOLD?\r\n", "OK\r\nOK\r\n95\r\n", 3, 0},
      {{.faults = {.split = true}}, "VER?\r\n", "1.20\r\n", 1, 2},
      {{.faults = {.join = true}}, "VER?\r\nTEMP?\r\n", "1.20\r\n25.3DEG\r\n", 2, 1},
      {{.faults = {.closeAfter = 2}},
       "VER?\r\nTEMP?\r\nHYS?\r\n",
       "1.20\r\n25.3DEG\r\n",
       2,
       0,
       true},
      {{.faults = {.silent = true}}, "THRESHOLD 33\r\nTHRESHOLD?\r\n", "", 2, 0},
      {{.faults = {.garbage = true}}, "VER?\r\n", "#?garbage\r\n", 1, 0},
      {{.instrument = {.email = true, .purity = PurityProfile::constant(80)}, .noticeDelayMs = 20},
       "PURITY?\r\n",
       "80.0%\r\nE-MAIL ALARM\r\n",
       1,
       2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sent.toStdString());
    auto server = Listening(row.options);
    LoopbackClient client(server->serverPort());
    client.send(row.sent);
    ASSERT_TRUE(row.closes ? client.waitForDisconnect() : client.waitForBytes(row.received.size()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->trace().size() == row.traced; }));
    EXPECT_EQ(row.received.isEmpty() ? server->instrument().threshold() : 33, 33);
    EXPECT_EQ(client.received(), row.received);
    EXPECT_EQ(row.blocks ? client.blocks().size() : 0, row.blocks);
  }
}

TEST(SimServer, ConnectionsShareTheInstrumentAndTheTraceKeepsCommandsAsReceived) {
  auto server = Listening({.instrument = {.purity = PurityProfile::list({99, 98})}});
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  LoopbackClient first(server->serverPort());
  first.send("THRESHOLD 42\r\nPURITY?\n");
  ASSERT_TRUE(first.waitForBytes(11));
  LoopbackClient second(server->serverPort());  // while the first is still open
  second.send("THRESHOLD?\r\nPURITY?\r\n\x01X\r\n");
  ASSERT_TRUE(second.waitForBytes(30));
  EXPECT_EQ(first.received(), "OK\r\n99.0%\r\n");
  EXPECT_EQ(second.received(), "42\r\n98.0%\r\nIllegal Command!!\r\n");
  QStringList commands;
  for (const TraceEntry& entry : server->trace()) {
    EXPECT_GE(entry.msecsSinceEpoch, before);
    commands << entry.command;
  }
  EXPECT_EQ(commands, (QStringList{"THRESHOLD 42", "PURITY?", "THRESHOLD?", "PURITY?", "\x01X"}));
}

TEST(SimExecutable, AnnouncesItselfAndReplies) {
  quint16 port = 0;
  {
    QTcpServer probe;  // a port in 20000..32767 that is free right now
    for (quint16 p = 20000 + QCoreApplication::applicationPid() % 12000; !port && p < 32768; ++p) {
      if (probe.listen(QHostAddress::LocalHost, p)) port = p;
    }
  }
  ASSERT_NE(port, 0);
  QProcess sim;
  sim.start(ZRV02_SIM_PATH, {"--port", QString::number(port), "--firmware", "2.00"});
  const QByteArray announce = "zrv02-sim listening on 127.0.0.1:" + QByteArray::number(port) + "\n";
  QByteArray output;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (output += sim.readAllStandardOutput()).contains(announce); }, 5000))
      << output.toStdString() << sim.readAllStandardError().toStdString();
  LoopbackClient client(port);
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForBytes(6));
  EXPECT_EQ(client.received(), "2.00\r\n");
  sim.kill();
  EXPECT_TRUE(sim.waitForFinished(5000));
}

}  // namespace
}  // namespace zrv::sim
