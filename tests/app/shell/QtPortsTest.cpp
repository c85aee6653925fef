// The Qt ports: the socket over a real connection to 127.0.0.1, and the
// clock's stamp.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/shell/QtClock.h"
#include "app/shell/QtTcpClient.h"
#include "link/HandlerError.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

int SendError(QtTcpClient& client, const std::string& data) {
  try {
    client.SendData(data);
  } catch (const SocketError& e) {
    return e.Number();
  }
  return 0;
}

class QtTcpClientTest : public testing::Test {
 protected:
  void SetUp() override {
    client.SetRemoteHost("127.0.0.1");
    client.SetRemotePort(ListenLocally(server));
  }

  QTcpServer server;
  QtTcpClient client;
};

TEST_F(QtTcpClientTest, SendBeforeConnectedFailsWithNotConnected) {
  EXPECT_EQ(SendError(client, "VER?\r\n"), 40006);
  client.Connect();
  // Still connecting: a send must not be queued behind the connect.
  ASSERT_NE(client.State(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(SendError(client, "VER?\r\n"), 40006);
}

TEST_F(QtTcpClientTest, BytesTravelExactlyBothWays) {
  QTcpSocket* peer = ConnectLocally(client, server);
  ASSERT_NE(peer, nullptr);
  const std::string sent("PURITY?\r\n\x00\x7F\x80\xFF", 13);
  EXPECT_EQ(SendError(client, sent), 0);
  ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() == 13; }));
  EXPECT_EQ(peer->readAll(), QByteArray(sent.data(), 13));

  peer->write("99.5%\r\n\xB0", 8);
  ASSERT_TRUE(WaitFor([&] { return client.HasReply(); }));
  EXPECT_EQ(client.GetData(), "99.5%\r\n");
  // A line without CR LF comes once it has gone quiet.
  ASSERT_TRUE(WaitFor([&] { return client.HasReply(); }));
  EXPECT_EQ(client.GetData(), "\xB0");
  EXPECT_EQ(client.GetData(), "");
}

TEST_F(QtTcpClientTest, CloseIsSilentInAnyState) {
  client.Close();
  client.Close();
  QTcpSocket* peer = ConnectLocally(client, server);
  ASSERT_NE(peer, nullptr);
  // What was handed over just before the close still arrives.
  EXPECT_EQ(SendError(client, "EMAIL ON\r\n"), 0);
  client.Close();
  client.Close();
  EXPECT_EQ(client.State(), QAbstractSocket::UnconnectedState);
  ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() == 10; }));
  EXPECT_EQ(peer->readAll(), "EMAIL ON\r\n");
  EXPECT_EQ(SendError(client, "x"), 40006);
}

TEST_F(QtTcpClientTest, RefusedConnectLeavesItUnconnected) {
  server.close();  // nothing listens on the port any more
  client.Connect();
  ASSERT_NE(client.State(), QAbstractSocket::UnconnectedState);
  ASSERT_TRUE(WaitFor([&] { return client.State() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(SendError(client, "VER?\r\n"), 40006);
}

TEST(QtClockTest, StampsLocalTimeToTheSecond) {
  const QString stamp = QString::fromStdString(QtClock().Stamp());
  EXPECT_TRUE(QRegularExpression(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d$)").match(stamp).hasMatch())
      << stamp.toStdString();
}

}  // namespace
}  // namespace zrv::test
