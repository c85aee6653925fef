// Operator actions on the real window: keys through the entry filters,
// option buttons, the directory list, the reply box, closing; and the
// busy guard that keeps handlers from overlapping while a box is open.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <utility>

#include "app/shell/DirListWidget.h"
#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

const std::string kIllegal = "Illegal Input !";

class OperatorInputTest : public testing::Test {
 protected:
  void SetUp() override {
    // The run frame opens only after a version check.
    vm.Main_Frame.enabled = true;
    window.renderNow();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  template <typename W>
  W* Find(const char* name) {
    return window.findChild<W*>(name);
  }

  // A refused key: its handler opens a box and is still running in it.
  void TypeRefusedKey() { QTest::keyClicks(Find<QLineEdit>("Txt_Interval"), "a"); }

  ScriptedMessageBox messages;
  MainWindow window{messages};
  ViewModel& vm = window.core().View();
};

TEST_F(OperatorInputTest, RefusedCharactersAreDroppedWithOneBoxEach) {
  // In `keys`, \b is Backspace, \x7f Delete (with the text X11 gives it) and
  // other control characters are Ctrl+letter.
  const struct {
    const char* field;
    QString keys;
    QString shown;
    int refused;
  } rows[] = {
      {"Txt_Interval", "12a", "12", 1},
      {"HostIPEdit", "127.0.0.1", "127.0.0.1", 0},
      {"HostPTEdit", QString::fromUtf8("1\uFF12"), "1", 1},  // full-width digit
      // Select all, copy, paste twice, rub one out.
      {"Txt_Interval", "12\x01\x03\x16\x16\b", "121", 0},
      {"Txt_Alarm_level",
       "12\x01\x7f"
       "3",
       "3", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.field) + " " + row.keys.toStdString());
    QWidget* target = Find<QWidget>(row.field);
    auto* combo = qobject_cast<QComboBox*>(target);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(target);
    // Emptied as the operator would: select all, rub out.
    target->setFocus();
    edit->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
    ASSERT_EQ(edit->text(), "");
    messages.shown.clear();

    for (QChar c : row.keys) {
      if (c == '\b') {
        QTest::keyClick(target, Qt::Key_Backspace);
      } else if (c == '\x7f') {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_Delete, QString(c), Qt::NoModifier);
      } else if (c < ' ') {
        QTest::keyClick(target, Qt::Key(Qt::Key_A + c.unicode() - 1), Qt::ControlModifier);
      } else {
        Type(target, c);
      }
    }

    EXPECT_EQ(edit->text(), row.shown);
    EXPECT_EQ(messages.shown, std::vector<std::string>(row.refused, kIllegal));
    EXPECT_EQ(vm.Find(row.field)->text, row.shown.toStdString());
  }
}

TEST_F(OperatorInputTest, TickDuringABoxIsDropped) {
  // With the version check pending and no link, a tick reports the failed send.
  emit window.timer1().tick();
  ASSERT_EQ(messages.shown, std::vector<std::string>{"Can't connected !"});
  messages.shown.clear();

  bool ticked = false;  // once: a tick that got through would open a box of its own
  messages.whileOpen = [&] {
    if (!std::exchange(ticked, true)) emit window.timer1().tick();
  };
  TypeRefusedKey();
  EXPECT_TRUE(ticked);
  EXPECT_EQ(messages.shown, std::vector<std::string>{kIllegal});
}

TEST_F(OperatorInputTest, DataDuringABoxArrivesAfterIt) {
  QTcpServer server;
  QtTcpClient& client = window.tcpClient();
  QTcpSocket* peer = ConnectLocally(client, server);
  ASSERT_NE(peer, nullptr);
  auto* version = Find<QLabel>("Label10");
  QString versionInBox;
  messages.whileOpen = [&] {
    // Two replies in one segment: an unrecognised version, then a good one.
    peer->write("0.90\r\n1.10\r\n");
    ASSERT_TRUE(WaitFor([&] { return client.HasReply(); }));
    // Give the socket's notification every chance to be (wrongly) handled.
    QCoreApplication::processEvents();
    versionInBox = version->text();
  };
  TypeRefusedKey();

  EXPECT_EQ(versionInBox, "????");
  EXPECT_TRUE(WaitFor([&] { return version->text() == "1.10"; }));
  EXPECT_FALSE(client.HasReply());
  EXPECT_EQ(messages.shown, std::vector<std::string>{kIllegal});
}

TEST_F(OperatorInputTest, ChoosingAnOptionSetsValuesAndRunsItsClick) {
  for (const bool single : {true, false}) {
    SCOPED_TRACE(single);
    QTest::mouseClick(Find<QRadioButton>(single ? "Single_mode" : "Continue_mode"), Qt::LeftButton);
    EXPECT_EQ(vm.Single_mode.value, single);
    EXPECT_EQ(vm.Continue_mode.value, !single);
    EXPECT_EQ(Find<QLineEdit>("Txt_Command")->isEnabled(), single);
    EXPECT_EQ(Find<QLineEdit>("Txt_Interval")->isEnabled(), !single);
  }
  // A click on the option already chosen is a click too.
  vm.Txt_Command.enabled = true;
  window.renderNow();
  QTest::mouseClick(Find<QRadioButton>("Continue_mode"), Qt::LeftButton);
  EXPECT_FALSE(Find<QLineEdit>("Txt_Command")->isEnabled());
}

TEST_F(OperatorInputTest, ChoosingTheShownDriveAgainKeepsTheDirectory) {
  const QString here = QDir::currentPath();
  auto* drives = Find<QComboBox>("Drive1");
  ASSERT_GT(drives->count(), 0);
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(vm.Dir1.text, here.toStdString());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OperatorInputTest, DirectoryListBrowsesDownAndUp) {
  // A directory the list has not read yet.
  const QString here = QDir::currentPath() + "/browse";
  ASSERT_TRUE(QDir().mkpath(here + "/logs"));
  vm.Dir1.text = here.toStdString();
  window.renderNow();
  auto* list = Find<DirListWidget>("Dir1");

  const std::pair<QString, QString> steps[] = {{"logs", here + "/logs"}, {"/", "/"}};
  for (const auto& [entry, path] : steps) {
    SCOPED_TRACE(entry.toStdString());
    const auto items = list->findItems(entry, Qt::MatchEndsWith);
    ASSERT_FALSE(items.isEmpty());
    list->scrollToItem(items.front());
    const QPoint at = list->visualItemRect(items.front()).center();
    // Select, then double-click, as an operator does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(WaitFor([&] { return list->path() == path; }));
    EXPECT_EQ(vm.Dir1.text, path.toStdString());
    EXPECT_EQ(list->currentItem()->text().trimmed(), entry);
  }
}

TEST_F(OperatorInputTest, ReplyBoxFollowsTheNewestLine) {
  auto* box = Find<QPlainTextEdit>("TxtBox_Reply");
  Control& reply = vm.TxtBox_Reply;
  QString expected;
  for (int i = 0; i < 30; ++i) {
    // One byte per character: the degree sign is 0xB0 on the wire.
    const std::string line = "2026/12/06 18:41:13 99." + std::to_string(i % 10) + "% 25\xB0\r\n";
    reply.text += line;
    reply.selStart = reply.text.size();
    expected += QString::fromLatin1(line.data(), line.size()).replace("\r\n", "\n");
    window.renderNow();
  }
  EXPECT_EQ(box->toPlainText(), expected);
  EXPECT_EQ(box->textCursor().position(), expected.size());
  EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect()));  // scrolled to it
}

TEST_F(OperatorInputTest, ClosingTheWindowClosesTheLink) {
  QTcpServer server;
  ASSERT_NE(ConnectLocally(window.tcpClient(), server), nullptr);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(window.tcpClient().State(), QAbstractSocket::UnconnectedState);
}

}  // namespace
}  // namespace zrv::test
