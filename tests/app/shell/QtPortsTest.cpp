// The Qt ports: the socket over a real connection to 127.0.0.1, and the
// notice that stays beside the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTcpSocket>

#include "app/shell/QtMessageBox.h"
#include "app/shell/QtTcpClient.h"
#include "link/HandlerError.h"
#include "link/ReplyFramer.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {

TEST(QtTcpClient, SendsOnlyWhenConnectedBytesTravelExactlyCloseFlushes) {
  QTcpServer server;
  QtTcpClient client;
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
  EXPECT_THAT(sendVersionQuery, notConnected);
  live.close();  // a refused connect ends unconnected
  client.Connect();
  EXPECT_TRUE(QTest::qWaitFor([&] { return client.State() == QAbstractSocket::UnconnectedState; }));
}

TEST(QtMessageBox, TheNoticeReturnsAtOnceAndStaysUpWithoutBlocking) {
  QtMessageBox().Notify("Can't write log file !");
  QPointer<QMessageBox> box;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
  ASSERT_FALSE(box.isNull());
  EXPECT_EQ(box->text() + (box->isModal() ? " (modal)" : ""), "Can't write log file !");
  box->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return box.isNull(); })) << "deleted once closed";
}

}  // namespace zrv::test
