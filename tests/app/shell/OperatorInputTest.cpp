// Operator input on the real window: keys through the entry filters, and the
// busy guard that keeps handlers from overlapping while a box is open.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTcpSocket>

#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

const std::string kIllegal = "Illegal Input !";

class OperatorInput : public testing::Test {
 protected:
  void SetUp() override {
    vm.Main_Frame.enabled = true;  // as after a version check
    window.renderNow();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  template <typename W = QWidget>
  W* Find(const char* name) {
    return window.findChild<W*>(name);
  }
  // A refused key: its handler opens a box and is still running in it.
  void TypeRefusedKey() { QTest::keyClicks(Find<QLineEdit>("Txt_Interval"), "a"); }

  ScriptedMessageBox messages;
  MainWindow window{messages};
  ViewModel& vm = window.core().View();
};

TEST_F(OperatorInput, RefusedCharactersAreDroppedWithOneBoxEach) {
  // \b is Backspace, \x7f Delete (with the text X11 gives it), other control
  // characters are Ctrl+letter: select all, copy, paste twice, rub one out.
  const std::tuple<const char*, QString, QString, int> rows[] = {
      {"Txt_Interval", "12a", "12", 1},
      {"HostIPEdit", "127.0.0.1", "127.0.0.1", 0},
      {"HostPTEdit", QString::fromUtf8("1\uFF12"), "1", 1},  // full-width digit
      {"Txt_Interval", "12\x01\x03\x16\x16\b", "121", 0},
      {"Txt_Alarm_level", QString("12\x01\x7f") + "3", "3", 0},
  };
  for (const auto& [field, keys, shown, refused] : rows) {
    SCOPED_TRACE(field);
    QWidget* target = Find(field);
    auto* combo = qobject_cast<QComboBox*>(target);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(target);
    target->setFocus();
    edit->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
    messages.shown.clear();
    for (QChar c : keys) {
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
    EXPECT_EQ(edit->text(), shown);
    EXPECT_EQ(messages.shown, std::vector<std::string>(refused, kIllegal));
    EXPECT_EQ(vm.Find(field)->text, shown.toStdString());
  }
}

TEST_F(OperatorInput, WhileABoxIsOpenTicksAreDroppedAndRepliesWait) {
  // With the check pending and no link, a tick that runs opens a box.
  emit window.timer1().tick();
  ASSERT_EQ(messages.shown, std::vector<std::string>{"Can't connected !"});
  messages.shown.clear();
  int ticks = 0;
  messages.whileOpen = [&] {
    if (ticks++ == 0) emit window.timer1().tick();
  };
  TypeRefusedKey();
  EXPECT_EQ(messages.shown, std::vector<std::string>{kIllegal});

  QTcpServer server;
  QTcpSocket* peer = ConnectLocally(window.tcpClient(), server);
  ASSERT_NE(peer, nullptr);
  QString versionInBox;
  messages.whileOpen = [&] {
    // Two replies in one segment: an unrecognised version, then a good one.
    peer->write("0.90\r\n1.10\r\n");
    ASSERT_TRUE(WaitFor([&] { return window.tcpClient().HasReply(); }));
    QCoreApplication::processEvents();  // every chance to be (wrongly) handled
    versionInBox = Find<QLabel>("Label10")->text();
  };
  TypeRefusedKey();
  EXPECT_EQ(versionInBox, "????");
  EXPECT_TRUE(WaitFor([&] { return Find<QLabel>("Label10")->text() == "1.10"; }));
  EXPECT_FALSE(window.tcpClient().HasReply());
}

TEST_F(OperatorInput, ReselectionsAreWhatTheyAreAndTheHistoryShowsBytes) {
  // A click on the option already chosen is a click too.
  vm.Txt_Command.enabled = true;
  window.renderNow();
  QTest::mouseClick(Find("Continue_mode"), Qt::LeftButton);
  EXPECT_FALSE(Find("Txt_Command")->isEnabled());
  // Choosing the drive shown again is no change: the log folder stays.
  auto* drives = Find<QComboBox>("Drive1");
  const std::string folder = vm.Dir1.text;
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(vm.Dir1.text, folder);
  // Each byte of the history is one Latin-1 character.
  vm.TxtBox_Reply.text = "2026/12/06 18:41:13 25\xB0\r\n";
  window.renderNow();
  EXPECT_EQ(Find<QPlainTextEdit>("TxtBox_Reply")->toPlainText(),
            QString::fromLatin1("2026/12/06 18:41:13 25\xB0\n"));
}

}  // namespace
}  // namespace zrv::test
