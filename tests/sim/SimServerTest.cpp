#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <memory>
#include <string>
#include <vector>

#include "LoopbackClient.h"

// g++ 12 at -O2 takes the default purity profile inside the case tables below
// for uninitialised on its exception path (a false -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace zrv::sim {
namespace {

std::unique_ptr<SimServer> listening(SimOptions options = {}) {
  auto server = std::make_unique<SimServer>(std::move(options));
  EXPECT_TRUE(server->listen(0)) << server->errorString().toStdString();
  return server;
}

bool waitForTrace(const SimServer& server, qsizetype count) {
  return QTest::qWaitFor([&] { return server.trace().size() >= count; },
                         LoopbackClient::kTimeoutMs);
}

struct Send {
  QByteArray bytes;
  qsizetype traced;  // commands acted on once this send has been read
  int sent;          // replies the server has written by then
};

struct LinkCase {
  std::string name;
  SimOptions options;
  std::vector<Send> sends;
  QByteArray received;
  qsizetype blocks = 0;  // readyRead blocks the replies arrive in; 0 = any
  bool closes = false;
  int threshold = 90;
};

class SimServerLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SimServerLinkTest, RepliesAsTheFaultsSay) {
  const LinkCase& test = GetParam();
  auto server = listening(test.options);
  LoopbackClient client(server->serverPort());
  for (const Send& send : test.sends) {
    client.send(send.bytes);
    ASSERT_TRUE(waitForTrace(*server, send.traced));
    EXPECT_EQ(server->repliesSent(), send.sent) << send.bytes.toStdString();
  }
  ASSERT_TRUE(test.closes ? client.waitForDisconnect() : client.waitForBytes(test.received.size()));
  EXPECT_EQ(client.received(), test.received);
  if (test.blocks > 0) {
    EXPECT_EQ(client.blocks().size(), test.blocks);
  }
  if (test.options.faults.split) {  // the first block lacks the line end
    EXPECT_FALSE(client.blocks().first().endsWith("\r\n"));
  }
  EXPECT_EQ(server->trace().size(), test.sends.back().traced);
  EXPECT_EQ(server->instrument().threshold(), test.threshold);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimServerLinkTest,
    ::testing::Values(
        LinkCase{"TwoCommandsInOneSend",
                 {},
                 {{"THRESHOLD 95\r\nHYS 2\r\n", 2, 2}},
                 "OK\r\nOK\r\n",
                 0,
                 false,
                 95},
        LinkCase{"Split", {.faults = {.split = true}}, {{"VER?\r\n", 1, 1}}, "1.20\r\n", 2},
        LinkCase{"JoinHoldsTheFirstReplyForTheSecond",
                 {.faults = {.join = true}},
                 {{"VER?\r\n", 1, 0}, {"TEMP?\r\n", 2, 2}},
                 "1.20\r\n25.3DEG\r\n",
                 1},
        LinkCase{"CloseAfterTwo",
                 {.faults = {.closeAfter = 2}},
                 {{"VER?\r\nTEMP?\r\nHYS?\r\n", 2, 2}},
                 "1.20\r\n25.3DEG\r\n",
                 0,
                 true},
        LinkCase{"SilentStillActs",
                 {.faults = {.silent = true}},
                 {{"THRESHOLD 33\r\n", 1, 0}},
                 "",
                 0,
                 false,
                 33},
        LinkCase{"EmailNoticeIsAWriteOfItsOwn",
                 {.instrument = {.email = true, .purity = PurityProfile::constant(80)},
                  .noticeDelayMs = 20},
                 {{"PURITY?\r\n", 1, 1}},
                 "80.0%\r\nE-MAIL ALARM\r\n",
                 2}),
    [](const auto& info) { return info.param.name; });

TEST(SimServerTest, ConnectionsShareTheInstrument) {
  auto server = listening({.instrument = {.purity = PurityProfile::list({99, 98, 97})}});
  LoopbackClient first(server->serverPort());
  first.send("THRESHOLD 42\r\nPURITY?\r\n");
  ASSERT_TRUE(first.waitForBytes(11));
  LoopbackClient second(server->serverPort());  // while the first is still open
  second.send("THRESHOLD?\r\nPURITY?\r\n");
  ASSERT_TRUE(second.waitForBytes(11));
  first.close();
  ASSERT_TRUE(first.waitForDisconnect());
  LoopbackClient third(server->serverPort());
  third.send("THRESHOLD?\r\nPURITY?\r\n");
  ASSERT_TRUE(third.waitForBytes(11));
  EXPECT_EQ(first.received(), "OK\r\n99.0%\r\n");
  EXPECT_EQ(second.received(), "42\r\n98.0%\r\n");
  EXPECT_EQ(third.received(), "42\r\n97.0%\r\n");
}

TEST(SimServerTest, TraceRecordsCommandsAsReceived) {
  auto server = listening();
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\nPURITY?\n\x01X\r\n");
  ASSERT_TRUE(waitForTrace(*server, 3));
  QStringList commands;
  for (const TraceEntry& entry : server->trace()) {
    EXPECT_GE(entry.msecsSinceEpoch, before);
    commands << entry.command;
  }
  EXPECT_EQ(commands, (QStringList{"VER?", "PURITY?", "\x01X"}));
}

// A port in 20000..32767 that is free right now on 127.0.0.1; 0 if none was found.
quint16 freePort() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto port = static_cast<quint16>(QRandomGenerator::global()->bounded(20000, 32768));
    if (QTcpServer probe; probe.listen(QHostAddress::LocalHost, port)) return port;
  }
  return 0;
}

TEST(SimExecutableTest, AnnouncesItselfAndReplies) {
  const quint16 port = freePort();
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
