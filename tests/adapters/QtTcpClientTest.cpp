// The socket adapter over a real connection to 127.0.0.1: what goes out,
// how the stream is cut into replies, and the peer's close.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTcpSocket>

#include "adapters/QtTcpClient.h"
#include "core/HandlerError.h"
#include "link/ReplyFramer.h"
#include "tests/shell/ShellTestSupport.h"

namespace zrv::test {

TEST(QtTcpClient, SendsOnlyWhenConnectedBytesTravelExactlyCloseFlushes) {
  QTcpServer server;
  adapters::QtTcpClient client;
  const auto notConnected =
      testing::Throws<SocketError>(testing::Property(&SocketError::Number, kNotConnected));
  const auto sendVersionQuery = [&] { client.SendData("VER?\r\n"); };
  client.Close();  // silent in any state
  EXPECT_THAT(sendVersionQuery, notConnected);
  client.SetRemoteHost("127.0.0.1");
  client.SetRemotePort(ListenLocally(server));
  client.Connect();
  EXPECT_THAT(sendVersionQuery, notConnected) << "not queued behind the connect";
  QTcpServer live;  // a fresh peer: the connect above is aborted by the next one
  QTcpSocket* peer = ConnectLocally(client, live);
  ASSERT_NE(peer, nullptr);
  client.SendData(std::string("PURITY?\r\n\x00\x7F\x80\xFF", 13));
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() == 13; }));
  EXPECT_EQ(peer->readAll(), QByteArray("PURITY?\r\n\x00\x7F\x80\xFF", 13));
  // A mebibyte of noise is cut and the rest of its line dropped; a line without CR LF comes
  // once it has gone quiet.
  peer->write(QByteArray(1 << 20, 'x') + "\r\nOK\r\n99.5%\r\n\xB0");
  std::string replies;  // each one, then "|"
  for (int i = 0; i < 4 && QTest::qWaitFor([&] { return client.HasReply(); }); ++i)
    replies += client.GetData() + "|";
  EXPECT_EQ(replies, std::string(ReplyFramer::kMaxReplyBytes, 'x') + "|OK\r\n|99.5%\r\n|\xB0|");
  client.SendData("EMAIL ON\r\n");
  client.Close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() == 10; })) << "handed over";
  EXPECT_FALSE(client.PeerClosed()) << "our own close";
  EXPECT_THAT(sendVersionQuery, notConnected);
  live.close();  // a refused connect ends unconnected
  client.Connect();
  EXPECT_TRUE(QTest::qWaitFor([&] { return client.State() == QAbstractSocket::UnconnectedState; }));
}

// A reply written in pieces that pause, as a slow serial bridge writes it, is
// one reply; one that pauses past the quiet time is cut, and the rest of its
// line dropped. The peer's close comes after the replies it sent.
TEST(QtTcpClient, JoinsTheSegmentsOfALineThatPausesAndCutsOneThatStops) {
  QTcpServer server;
  adapters::QtTcpClient client;
  QTcpSocket* peer = ConnectLocally(client, server);
  ASSERT_NE(peer, nullptr);
  for (const char* piece : {"9", "9.", "5%", "\r", "\n25.3"}) {
    peer->write(piece);
    QTest::qWait(400);
  }
  EXPECT_EQ(client.GetData(), "99.5%\r\n");
  EXPECT_FALSE(client.HasReply());
  QTest::qWait(adapters::QtTcpClient::kQuietMs);
  peer->write("DEG\r\nOK\r");
  peer->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return client.PeerClosed(); }));
  EXPECT_EQ(client.GetData(), "25.3");
  EXPECT_EQ(client.GetData(), "OK\r\n");
  EXPECT_FALSE(client.HasReply());
}

}  // namespace zrv::test
