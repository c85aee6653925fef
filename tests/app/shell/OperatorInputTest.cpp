// Operator actions on the real widgets reach the view model and the
// handlers, and what the handlers change comes back on screen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/shell/DirListWidget.h"
#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

class OperatorInputTest : public testing::Test {
 protected:
  void SetUp() override {
    window.core().View().Main_Frame.enabled = true;
    window.renderNow();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  template <typename W>
  W* Find(const char* name) {
    return window.findChild<W*>(name);
  }

  ScriptedMessageBox messages;
  MainWindow window{messages};
  ViewModel& vm = window.core().View();
};

TEST_F(OperatorInputTest, VersionCheckTalksToTheAddressTyped) {
  QTcpServer instrument;
  const quint16 port = ListenLocally(instrument);
  QByteArray received;
  QObject::connect(&instrument, &QTcpServer::newConnection, [&] {
    QTcpSocket* peer = instrument.nextPendingConnection();
    QObject::connect(peer, &QTcpSocket::readyRead, [&received, peer] {
      received += peer->readAll();
      if (received.endsWith("\r\n")) peer->write("1.10\r\n");
    });
  });

  auto* portField = Find<QComboBox>("HostPTEdit");
  portField->setFocus();
  portField->lineEdit()->selectAll();
  QTest::keyClicks(portField, QString::number(port));
  QTest::mouseClick(Find<QPushButton>("Version_Check"), Qt::LeftButton);

  auto* check = Find<QPushButton>("Version_Check");
  ASSERT_TRUE(WaitFor([&] { return check->text() == "Complete"; }));
  EXPECT_EQ(received, "VER?\r\n");
  EXPECT_EQ(Find<QLabel>("Label10")->text(), "1.10");
  EXPECT_FALSE(check->isEnabled());
  EXPECT_EQ(DominantColor(*check), QColor(0x00, 0xFF, 0x10));
  EXPECT_TRUE(Find<QWidget>("Main_Frame")->isEnabled());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OperatorInputTest, ChoosingAnOptionSetsValuesAndRunsItsClick) {
  QTest::mouseClick(Find<QRadioButton>("Single_mode"), Qt::LeftButton);
  EXPECT_TRUE(vm.Single_mode.value);
  EXPECT_FALSE(vm.Continue_mode.value);
  EXPECT_TRUE(Find<QLineEdit>("Txt_Command")->isEnabled());
  EXPECT_FALSE(Find<QLineEdit>("Txt_Interval")->isEnabled());

  QTest::mouseClick(Find<QRadioButton>("Continue_mode"), Qt::LeftButton);
  EXPECT_TRUE(vm.Continue_mode.value);
  EXPECT_FALSE(vm.Single_mode.value);
  EXPECT_FALSE(Find<QLineEdit>("Txt_Command")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("Txt_Interval")->isEnabled());
}

TEST_F(OperatorInputTest, DirectoryListBrowsesDownAndUp) {
  // A directory the list has not read yet.
  const QString here = QDir::currentPath() + "/browse";
  ASSERT_TRUE(QDir().mkpath(here + "/logs"));
  vm.Dir1.text = here.toStdString();
  window.renderNow();
  auto* list = Find<DirListWidget>("Dir1");

  struct Step {
    QString entry;  // as listed, without indentation
    QString path;
  };
  const Step steps[] = {{"logs", here + "/logs"}, {"/", "/"}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.entry.toStdString());
    const auto items = list->findItems(step.entry, Qt::MatchEndsWith);
    ASSERT_FALSE(items.isEmpty());
    QListWidgetItem* item = items.front();
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    // Select, then double-click, as an operator does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(WaitFor([&] { return list->path() == step.path; }));
    EXPECT_EQ(vm.Dir1.text, step.path.toStdString());
    EXPECT_EQ(list->currentItem()->text().trimmed(), step.entry);
  }
}

TEST_F(OperatorInputTest, PickingADriveMovesTheDirectoryList) {
  auto* drives = Find<QComboBox>("Drive1");
  ASSERT_GT(drives->count(), 0);
  EXPECT_EQ(drives->itemText(0), "/");
  emit drives->activated(0);
  EXPECT_EQ(vm.Drive1.text, "/");
  EXPECT_EQ(vm.Dir1.text, "/");
  EXPECT_EQ(Find<DirListWidget>("Dir1")->path(), "/");
}

TEST_F(OperatorInputTest, ReplyBoxFollowsTheNewestLine) {
  auto* box = Find<QPlainTextEdit>("TxtBox_Reply");
  Control& reply = vm.TxtBox_Reply;
  QString expected;
  for (int i = 0; i < 30; ++i) {
    const std::string line = "2026/12/06 18:41:13 99." + std::to_string(i % 10) + "%\r\n";
    reply.text += line;
    reply.selStart = reply.text.size();
    expected += QString::fromStdString(line).replace("\r\n", "\n");
    window.renderNow();
  }
  EXPECT_EQ(box->toPlainText(), expected);
  EXPECT_EQ(box->textCursor().position(), expected.size());
  // Scrolled down far enough to show the insertion point after the newest line.
  EXPECT_GT(box->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect()));

  // A full history drops its oldest line: the box is rebuilt, not extended.
  reply.text = reply.text.substr(reply.text.find("\r\n") + 2) + "last\r\n";
  reply.selStart = reply.text.size();
  window.renderNow();
  EXPECT_EQ(box->toPlainText(), expected.mid(expected.indexOf('\n') + 1) + "last\n");

  QTest::mouseClick(Find<QPushButton>("clear"), Qt::LeftButton);
  EXPECT_EQ(box->toPlainText(), "");
}

TEST_F(OperatorInputTest, ABoxShowsTheWindowAsTheHandlerLeftIt) {
  // start disables itself, then finds the interval empty and says so.
  vm.Txt_Interval.text.clear();
  window.renderNow();
  auto* start = Find<QPushButton>("start");
  bool enabledUnderBox = true;
  messages.whileOpen = [&] { enabledUnderBox = start->isEnabled(); };

  QTest::mouseClick(start, Qt::LeftButton);

  EXPECT_EQ(messages.shown, std::vector<std::string>{"Wrong Parameter !"});
  EXPECT_FALSE(enabledUnderBox);
}

TEST_F(OperatorInputTest, ClosingTheWindowClosesTheLink) {
  QTcpServer server;
  const quint16 port = ListenLocally(server);
  QtTcpClient& client = window.tcpClient();
  client.SetRemoteHost("127.0.0.1");
  client.SetRemotePort(port);
  client.Connect();
  ASSERT_TRUE(WaitFor([&] { return client.State() == QAbstractSocket::ConnectedState; }));

  EXPECT_TRUE(window.close());
  EXPECT_EQ(client.State(), QAbstractSocket::UnconnectedState);
}

}  // namespace
}  // namespace zrv::test
