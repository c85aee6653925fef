// The Qt ports: the socket over a real connection to 127.0.0.1, and the
// notice that stays beside the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTcpSocket>

#include "core/HandlerError.h"
#include "link/ReplyFramer.h"
#include "shell/MainWindow.h"
#include "shell/QtMessageBox.h"
#include "shell/QtTcpClient.h"
#include "sim/SimServer.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(QtTcpClient, SendsOnlyWhenConnectedBytesTravelExactlyCloseFlushes) {
  QTcpServer server;
  shell::QtTcpClient client;
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
  shell::QtTcpClient client;
  QTcpSocket* peer = ConnectLocally(client, server);
  ASSERT_NE(peer, nullptr);
  for (const char* piece : {"9", "9.", "5%", "\r", "\n25.3"}) {
    peer->write(piece);
    QTest::qWait(400);
  }
  EXPECT_EQ(client.GetData(), "99.5%\r\n");
  EXPECT_FALSE(client.HasReply());
  QTest::qWait(shell::QtTcpClient::kQuietMs);
  peer->write("DEG\r\nOK\r");
  peer->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return client.PeerClosed(); }));
  EXPECT_EQ(client.GetData(), "25.3");
  EXPECT_EQ(client.GetData(), "OK\r\n");
  EXPECT_FALSE(client.HasReply());
}

QMessageBox* OpenBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) return b;
  return nullptr;
}

// While a box waits for OK, the run goes on: the ticks and the replies are
// the instrument's clock, and the box holds only the operator's input. A
// notice holds nothing, and either goes once closed.
TEST(QtMessageBox, ABoxHoldsTheWindowButNeverTheRun) {
  sim::SimServer sim(sim::SimOptions{.instrument = {.firmware = "1.10"}});
  WriteLocalHistory(ListenLocally([&](quint16 p) { return sim.Listen(p); }));
  shell::QtMessageBox messages;
  shell::MainWindow window(messages);
  messages.SetWindow(&window);
  window.show();
  const auto find = [&](const char* name) { return window.findChild<QWidget*>(name); };
  QTest::mouseClick(find("Version_Check"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return find("start")->isEnabled(); }));
  window.Core().View().Txt_Interval.text = "1";
  QTest::mouseClick(find("start"), Qt::LeftButton);
  QTest::keyClicks(find("HostIPEdit"), "x");
  QPointer<QMessageBox> box = OpenBox();
  ASSERT_FALSE(box.isNull());
  const qsizetype polls = sim.Trace().size();
  EXPECT_TRUE(QTest::qWaitFor([&] { return sim.Trace().size() >= polls + 4; }, 4000)) << "2 pairs";
  EXPECT_EQ(std::tuple(box->text(), box->windowModality(), box->isVisible()),
            std::tuple("Illegal Input !", Qt::WindowModal, true));
  // A notice raised while the box is up belongs to the window: it outlives the box.
  QApplication::setActiveWindow(box);  // as when the operator looks at it
  messages.Notify("Can't write log file !", "/x/zrv-02.log: No such file or directory");
  box->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QPointer<QMessageBox> notice = OpenBox();
  ASSERT_FALSE(notice.isNull());
  EXPECT_EQ(
      std::tuple(notice->text(), notice->isModal(), notice->detailedText()),
      std::tuple("Can't write log file !", false, "/x/zrv-02.log: No such file or directory"));
  notice->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return box.isNull() && notice.isNull(); })) << "deleted";
}

// An instrument that closes the link instead of answering "PURITY?" once:
// the pair is asked again on a new connection at once, not after a time-out.
TEST(MainWindow, AClosedLinkIsAskedAgainAtOnce) {
  QTcpServer instrument;
  WriteLocalHistory(ListenLocally(instrument));
  QList<qint64> purityAsked;  // when, in ms since the epoch
  QObject::connect(&instrument, &QTcpServer::newConnection, [&] {
    QTcpSocket* link = instrument.nextPendingConnection();
    QObject::connect(link, &QTcpSocket::readyRead, [&, link] {
      while (link->canReadLine()) {
        const QByteArray command = link->readLine().trimmed();
        if (command == "PURITY?") purityAsked << QDateTime::currentMSecsSinceEpoch();
        if (command == "PURITY?" && purityAsked.size() == 1) link->close();
        link->write(command == "VER?"    ? "1.10\r\n"
                    : command == "TEMP?" ? "25.3DEG\r\n"
                                         : "99.5%\r\n");
      }
    });
  });
  FakeMessageBox messages;
  shell::MainWindow window(messages);
  const auto find = [&](const char* name) { return window.findChild<QWidget*>(name); };
  QTest::mouseClick(find("Version_Check"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return find("start")->isEnabled(); }));
  window.Core().View().Txt_Interval.text = "1";
  QTest::mouseClick(find("start"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Core().Counters().records == 1; }));
  EXPECT_LT(purityAsked[1] - purityAsked[0], 1000);
  EXPECT_EQ(window.Core().Counters().replyTimeouts, 0u);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace zrv::test
