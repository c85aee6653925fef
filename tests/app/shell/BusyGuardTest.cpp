// Handlers never overlap: while one is inside a modal box, a timer tick is
// dropped and arriving data waits until the handler has returned.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <utility>

#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

const std::string kIllegal = "Illegal Input !";
const std::string kNoLink = "Can't connected !";

class BusyGuardTest : public testing::Test {
 protected:
  void SetUp() override {
    window.core().View().Main_Frame.enabled = true;
    window.renderNow();
  }

  // A refused key: its handler opens a box and is still running in it.
  void TypeRefusedKey() { QTest::keyClicks(window.findChild<QLineEdit*>("Txt_Interval"), "a"); }

  ScriptedMessageBox messages;
  MainWindow window{messages};
};

TEST_F(BusyGuardTest, TickDuringABoxIsDropped) {
  // With the version check pending and no link, a tick reports the failed send.
  emit window.timer1().tick();
  ASSERT_EQ(messages.shown, std::vector<std::string>{kNoLink});
  messages.shown.clear();

  bool ticked = false;  // once: a tick that got through would open a box of its own
  messages.whileOpen = [&] {
    if (std::exchange(ticked, true)) return;
    emit window.timer1().tick();
  };
  TypeRefusedKey();

  EXPECT_EQ(messages.shown, std::vector<std::string>{kIllegal});
}

TEST_F(BusyGuardTest, DataDuringABoxArrivesAfterIt) {
  QTcpServer server;
  const quint16 port = ListenLocally(server);
  QtTcpClient& client = window.tcpClient();
  client.SetRemoteHost("127.0.0.1");
  client.SetRemotePort(port);
  client.Connect();
  ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
  QTcpSocket* peer = server.nextPendingConnection();
  ASSERT_TRUE(WaitFor([&] { return client.State() == QAbstractSocket::ConnectedState; }));

  auto* version = window.findChild<QLabel*>("Label10");
  qint64 heldInBox = 0;
  QString versionInBox;
  messages.whileOpen = [&] {
    peer->write("1.10\r\n");
    ASSERT_TRUE(WaitFor([&] { return client.BytesAvailable() == 6; }));
    // Give the socket's notification every chance to be (wrongly) handled.
    QCoreApplication::processEvents();
    heldInBox = client.BytesAvailable();
    versionInBox = version->text();
  };
  TypeRefusedKey();

  EXPECT_EQ(heldInBox, 6);
  EXPECT_EQ(versionInBox, "????");
  EXPECT_EQ(client.BytesAvailable(), 0);
  EXPECT_EQ(version->text(), "1.10");
  EXPECT_EQ(window.findChild<QPushButton*>("Version_Check")->text(), "Complete");
  EXPECT_EQ(messages.shown, std::vector<std::string>{kIllegal});
}

}  // namespace
}  // namespace zrv::test
