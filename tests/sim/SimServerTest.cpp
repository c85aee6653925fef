#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "LoopbackClient.h"

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

struct FramingCase {
  std::string name;
  std::vector<QByteArray> pieces;
  QByteArray replies;
};

class SimServerFramingTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(SimServerFramingTest, OneReplyPerLine) {
  auto server = listening();
  LoopbackClient client(server->serverPort());
  ASSERT_TRUE(client.connected());
  for (const QByteArray& piece : GetParam().pieces) client.send(piece);
  ASSERT_TRUE(client.waitForBytes(GetParam().replies.size()));
  EXPECT_EQ(client.received(), GetParam().replies);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SimServerFramingTest,
    ::testing::Values(FramingCase{"TwoInOneSend", {"THRESHOLD 95\r\nHYS 2\r\n"}, "OK\r\nOK\r\n"},
                      FramingCase{"InPieces", {"THRES", "HOLD?\r", "\n"}, "90\r\n"},
                      FramingCase{"BareLineFeed", {"VER?\nTEMP?\r\n"}, "1.20\r\n25.3DEG\r\n"},
                      FramingCase{"EmptyLine", {"\r\n"}, "Illegal Command!!\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(SimServerTest, InstrumentStateShowsWhatTheCommandsSet) {
  auto server = listening();
  LoopbackClient client(server->serverPort());
  client.send("THRESHOLD 95\r\nHYS 2\r\nEMAIL ON\r\n");
  ASSERT_TRUE(waitForTrace(*server, 3));
  EXPECT_EQ(server->instrument().threshold(), 95);
  EXPECT_EQ(server->instrument().hysteresis(), 2);
  EXPECT_TRUE(server->instrument().emailOn());
}

TEST(SimServerTest, StatePersistsAcrossConnections) {
  SimOptions options;
  options.instrument.purity = PurityProfile::list({99, 98});
  auto server = listening(options);
  {
    LoopbackClient first(server->serverPort());
    first.send("THRESHOLD 42\r\nEMAIL ON\r\nPURITY?\r\n");
    ASSERT_TRUE(first.waitForBytes(12));
    EXPECT_EQ(first.received(), "OK\r\nOK\r\n99.0%\r\n");
    first.close();
    ASSERT_TRUE(first.waitForDisconnect());
  }
  LoopbackClient second(server->serverPort());
  second.send("THRESHOLD?\r\nEMAIL?\r\nPURITY?\r\n");
  ASSERT_TRUE(second.waitForBytes(15));
  EXPECT_EQ(second.received(), "42\r\nON\r\n98.0%\r\n");
}

TEST(SimServerTest, ServesASecondConnectionWhileTheFirstIsOpen) {
  auto server = listening();
  LoopbackClient first(server->serverPort());
  LoopbackClient second(server->serverPort());
  ASSERT_TRUE(first.connected() && second.connected());
  second.send("THRESHOLD 33\r\n");
  ASSERT_TRUE(second.waitForBytes(4));
  first.send("THRESHOLD?\r\n");
  ASSERT_TRUE(first.waitForBytes(4));
  EXPECT_EQ(second.received(), "OK\r\n");
  EXPECT_EQ(first.received(), "33\r\n");
  EXPECT_EQ(server->connectionCount(), 2);
}

struct ReplyFaultCase {
  std::string name;
  SimFaults faults;
  QByteArray reply;
  qint64 notBeforeMs;
};

class SimServerReplyFaultTest : public ::testing::TestWithParam<ReplyFaultCase> {};

TEST_P(SimServerReplyFaultTest, BendsTheReply) {
  SimOptions options;
  options.faults = GetParam().faults;
  auto server = listening(options);
  LoopbackClient client(server->serverPort());
  QElapsedTimer elapsed;
  elapsed.start();
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForBytes(GetParam().reply.size()));
  EXPECT_GE(elapsed.elapsed(), GetParam().notBeforeMs);
  EXPECT_EQ(client.received(), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimServerReplyFaultTest,
    ::testing::Values(ReplyFaultCase{"Plain", {}, "1.20\r\n", 0},
                      ReplyFaultCase{"Garbage", {.garbage = true}, "#?garbage\r\n", 0},
                      ReplyFaultCase{"Delay", {.replyDelayMs = 60}, "1.20\r\n", 60},
                      ReplyFaultCase{"DelayedGarbage",
                                     {.replyDelayMs = 40, .garbage = true},
                                     "#?garbage\r\n",
                                     40}),
    [](const auto& info) { return info.param.name; });

TEST(SimServerTest, SplitSendsTheReplyInTwoSegments) {
  auto server = listening({.faults = {.split = true}});
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForBlocks(1));
  const QByteArray first = client.blocks().first();
  EXPECT_FALSE(first.endsWith("\r\n")) << first.toStdString();
  EXPECT_TRUE(QByteArray("1.20\r\n").startsWith(first));
  ASSERT_TRUE(client.waitForBytes(6));
  EXPECT_EQ(client.received(), "1.20\r\n");
  EXPECT_EQ(client.blocks().size(), 2);
}

TEST(SimServerTest, SplitHalvesOfConsecutiveRepliesStayInOrder) {
  auto server = listening({.faults = {.split = true}});
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\nTEMP?\r\nHYS?\r\n");
  ASSERT_TRUE(client.waitForBytes(19));
  EXPECT_EQ(client.received(), "1.20\r\n25.3DEG\r\n05\r\n");
}

TEST(SimServerTest, JoinHoldsAReplyUntilTheNextAndWritesBothAtOnce) {
  auto server = listening({.faults = {.join = true}});
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\n");
  ASSERT_TRUE(waitForTrace(*server, 1));
  EXPECT_EQ(server->repliesSent(), 0);
  client.send("TEMP?\r\n");
  ASSERT_TRUE(client.waitForBytes(15));
  EXPECT_EQ(client.blocks(), QList<QByteArray>{"1.20\r\n25.3DEG\r\n"});
  EXPECT_EQ(server->repliesSent(), 2);
}

TEST(SimServerTest, JoinSendsAReplyWithoutFollowerAloneAfterAWhile) {
  auto server = listening({.faults = {.join = true}});
  LoopbackClient client(server->serverPort());
  QElapsedTimer elapsed;
  elapsed.start();
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForBytes(6));
  EXPECT_GE(elapsed.elapsed(), SimFaults::kJoinHoldMs);
  EXPECT_EQ(client.received(), "1.20\r\n");
}

class SimServerCloseAfterTest : public ::testing::TestWithParam<int> {};

TEST_P(SimServerCloseAfterTest, ClosesAfterThatManyReplies) {
  const int replies = GetParam();
  auto server = listening({.faults = {.closeAfter = replies}});
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\nVER?\r\nVER?\r\n");
  ASSERT_TRUE(client.waitForDisconnect());
  EXPECT_EQ(client.received(), QByteArray("1.20\r\n").repeated(replies));
  EXPECT_EQ(server->trace().size(), replies);
}

INSTANTIATE_TEST_SUITE_P(Counts, SimServerCloseAfterTest, ::testing::Values(1, 2));

TEST(SimServerTest, CloseAfterWaitsForTheSecondHalfOfASplitReply) {
  auto server = listening({.faults = {.split = true, .closeAfter = 1}});
  LoopbackClient client(server->serverPort());
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForDisconnect());
  EXPECT_EQ(client.received(), "1.20\r\n");
}

TEST(SimServerTest, SilentExecutesButSendsNothing) {
  auto server = listening({.faults = {.silent = true}});
  LoopbackClient client(server->serverPort());
  client.send("THRESHOLD 33\r\n");
  ASSERT_TRUE(waitForTrace(*server, 1));
  EXPECT_EQ(server->repliesSent(), 0);
  // Replies keep their order on the stream: had the silent command been
  // answered, its reply would come first.
  server->setFaults({});
  client.send("THRESHOLD?\r\n");
  ASSERT_TRUE(client.waitForBytes(4));
  EXPECT_EQ(client.received(), "33\r\n");
}

TEST(SimServerTest, EmailNoticeIsAWriteOfItsOwnAfterThePurityReply) {
  SimOptions options;
  options.instrument.email = true;
  options.instrument.purity = PurityProfile::constant(80);
  options.noticeDelayMs = 20;
  auto server = listening(options);
  LoopbackClient client(server->serverPort());
  client.send("PURITY?\r\n");
  ASSERT_TRUE(client.waitForBlocks(2));
  EXPECT_EQ(client.blocks(), (QList<QByteArray>{"80.0%\r\n", "E-MAIL ALARM\r\n"}));
}

TEST(SimServerTest, EmailNoticeFollowsAHeldJoinedReply) {
  SimOptions options;
  options.instrument.email = true;
  options.instrument.purity = PurityProfile::constant(80);
  options.noticeDelayMs = 0;
  options.faults.join = true;
  auto server = listening(options);
  LoopbackClient client(server->serverPort());
  client.send("PURITY?\r\n");
  ASSERT_TRUE(waitForTrace(*server, 1));
  client.send("VER?\r\n");
  ASSERT_TRUE(client.waitForBytes(27));
  EXPECT_EQ(client.received(), "80.0%\r\n1.20\r\nE-MAIL ALARM\r\n");
}

TEST(SimServerTest, TraceRecordsEveryCommand) {
  auto server = listening();
  QSignalSpy spy(server.get(), &SimServer::commandReceived);
  LoopbackClient client(server->serverPort());
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  client.send("VER?\r\nPURITY?\n\x01X\r\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return spy.size() == 3; }, LoopbackClient::kTimeoutMs));
  const qint64 after = QDateTime::currentMSecsSinceEpoch();

  const QStringList commands{"VER?", "PURITY?", "\x01X"};
  ASSERT_EQ(server->trace().size(), commands.size());
  for (qsizetype i = 0; i < commands.size(); ++i) {
    const TraceEntry& entry = server->trace().at(i);
    EXPECT_EQ(entry.command, commands.at(i));
    EXPECT_EQ(spy.at(i).at(0).toString(), commands.at(i));
    EXPECT_GE(entry.msecsSinceEpoch, i == 0 ? before : server->trace().at(i - 1).msecsSinceEpoch);
    EXPECT_LE(entry.msecsSinceEpoch, after);
  }
}

TEST(SimServerTest, ListenFailsOnAPortInUse) {
  auto first = listening();
  SimServer second;
  EXPECT_FALSE(second.listen(first->serverPort()));
  EXPECT_FALSE(second.errorString().isEmpty());
}

}  // namespace
}  // namespace zrv::sim
