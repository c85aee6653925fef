// The window's boxes, which never hold up the run and never hide each
// other, and the window over a link the instrument closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QPointer>
#include <QTcpSocket>

#include "shell/MainWindow.h"
#include "shell/QtMessageBox.h"
#include "sim/SimServer.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"

namespace zrv::test {

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
  ASSERT_TRUE(CheckAndStartOneSecondRun(window));
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
  ASSERT_TRUE(CheckAndStartOneSecondRun(window));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Core().Counters().records == 1; }));
  EXPECT_LT(purityAsked[1] - purityAsked[0], 1000);
  EXPECT_EQ(window.Core().Counters().replyTimeouts, 0u);
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace zrv::test
