// The Qt ports: the socket over a real connection to 127.0.0.1, and the
// notice that stays beside the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTcpSocket>

#include "app/shell/QtMessageBox.h"
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

TEST(QtTcpClient, SendsOnlyWhenConnectedBytesTravelExactlyCloseFlushes) {
  QTcpServer server;
  QtTcpClient client;
  client.Close();  // silent in any state
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected);
  client.SetRemoteHost("127.0.0.1");
  client.SetRemotePort(ListenLocally(server));
  client.Connect();
  ASSERT_NE(client.State(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected) << "not queued behind the connect";
  QTcpServer live;  // a fresh peer: the connect above is aborted by the next one
  QTcpSocket* peer = ConnectLocally(client, live);
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
  EXPECT_EQ(SendError(client, "EMAIL ON\r\n"), 0);
  client.Close();
  EXPECT_EQ(client.State(), QAbstractSocket::UnconnectedState);
  ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() == 10; })) << "handed over, so sent";
  EXPECT_EQ(SendError(client, "x"), kNotConnected);
  live.close();  // a refused connect ends unconnected
  client.Connect();
  ASSERT_TRUE(WaitFor([&] { return client.State() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(SendError(client, "VER?\r\n"), kNotConnected);
}

TEST(QtMessageBox, TheNoticeReturnsAtOnceAndStaysUpWithoutBlocking) {
  QtMessageBox().Notify("Can't write log file !");
  QMessageBox* box = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
  }
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), "Can't write log file !");
  EXPECT_FALSE(box->isModal());
  QPointer<QMessageBox> watched = box;
  box->close();
  EXPECT_TRUE(WaitFor([&] { return watched.isNull(); })) << "deleted once closed";
}

}  // namespace
}  // namespace zrv::test
