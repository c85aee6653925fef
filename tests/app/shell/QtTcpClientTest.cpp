// The socket port over a real connection to 127.0.0.1.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

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
    port = ListenLocally(server);
    client.SetRemoteHost("127.0.0.1");
    client.SetRemotePort(port);
  }

  // Connects and returns the server's end of the connection.
  QTcpSocket* Connected() {
    client.Connect();
    if (!WaitFor([&] { return server.hasPendingConnections(); })) return nullptr;
    QTcpSocket* peer = server.nextPendingConnection();
    if (!WaitFor([&] { return client.State() == QAbstractSocket::ConnectedState; })) return nullptr;
    return peer;
  }

  QTcpServer server;
  quint16 port = 0;
  QtTcpClient client;
};

TEST_F(QtTcpClientTest, SendBeforeConnectedFailsWithNotConnected) {
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected);
  client.Connect();
  // Still connecting: a send must not be queued behind the connect.
  ASSERT_NE(client.State(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected);
}

TEST_F(QtTcpClientTest, BytesTravelExactlyBothWays) {
  QTcpSocket* peer = Connected();
  ASSERT_NE(peer, nullptr);

  const std::string sent("PURITY?\r\n\x00\x7F\x80\xFF", 13);
  EXPECT_EQ(SendError(client, sent), 0);
  QByteArray received;
  ASSERT_TRUE(WaitFor([&] {
    received += peer->readAll();
    return received.size() >= 13;
  }));
  EXPECT_EQ(received, QByteArray(sent.data(), 13));

  QSignalSpy ready(&client, &QtTcpClient::readyRead);
  peer->write("99.5%\r\n\xB0", 8);
  ASSERT_TRUE(WaitFor([&] { return client.BytesAvailable() == 8; }));
  EXPECT_GE(ready.count(), 1);
  EXPECT_EQ(client.GetData(), std::string("99.5%\r\n\xB0", 8));
  EXPECT_EQ(client.GetData(), "");
}

TEST_F(QtTcpClientTest, ConnectOnAnOpenSocketStartsOver) {
  QTcpSocket* first = Connected();
  ASSERT_NE(first, nullptr);
  QTcpSocket* second = Connected();
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(WaitFor([&] { return first->state() == QAbstractSocket::UnconnectedState; }));

  EXPECT_EQ(SendError(client, "TEMP?\r\n"), 0);
  ASSERT_TRUE(WaitFor([&] { return second->bytesAvailable() == 7; }));
  EXPECT_EQ(second->readAll(), "TEMP?\r\n");
}

TEST_F(QtTcpClientTest, CloseIsSilentInAnyState) {
  client.Close();
  client.Close();
  QTcpSocket* peer = Connected();
  ASSERT_NE(peer, nullptr);

  // What was handed over just before the close still arrives.
  EXPECT_EQ(SendError(client, "EMAIL ON\r\n"), 0);
  client.Close();
  client.Close();
  EXPECT_EQ(client.State(), QAbstractSocket::UnconnectedState);
  QByteArray received;
  ASSERT_TRUE(WaitFor([&] {
    received += peer->readAll();
    return received.size() >= 10;
  }));
  EXPECT_EQ(received, "EMAIL ON\r\n");
  EXPECT_EQ(SendError(client, "x"), kNotConnected);
}

TEST_F(QtTcpClientTest, RefusedConnectLeavesItUnconnected) {
  server.close();  // nothing listens on the port any more
  client.Connect();
  ASSERT_NE(client.State(), QAbstractSocket::UnconnectedState);
  ASSERT_TRUE(WaitFor([&] { return client.State() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected);
}

TEST_F(QtTcpClientTest, PortOutsideSixteenBitsIsRefused) {
  const struct {
    std::int32_t port;
    bool valid;
  } rows[] = {{0, true}, {65535, true}, {-1, false}, {65536, false}, {-32768, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.port);
    if (row.valid) {
      EXPECT_NO_THROW(client.SetRemotePort(row.port));
    } else {
      EXPECT_THROW(client.SetRemotePort(row.port), SocketError);
    }
  }
}

}  // namespace
}  // namespace zrv::test
