// Operator input on the real window: keys through the entry filters, clicks
// that choose again what is chosen, and the busy guard that keeps handlers
// from overlapping while a box is open.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTcpSocket>

#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

TEST(OperatorInput, KeysReachTheFiltersReselectionsAreNoChangeAndABoxHoldsTicksAndReplies) {
  ScriptedMessageBox messages;
  MainWindow window{messages};
  ViewModel& vm = window.core().View();
  vm.Main_Frame.enabled = vm.Txt_Command.enabled = true;  // as after a version check
  window.renderNow();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const auto find = [&](const char* name) { return window.findChild<QWidget*>(name); };
  // The text shown, the model's, the boxes. \b is Backspace, \x7f Delete (with the text X11
  // gives it), other control characters Ctrl+letter: select all, copy, paste twice, rub one out.
  for (const auto& [field, keys, want] :
       std::initializer_list<std::tuple<const char*, QString, QString>>{
           {"Txt_Interval", "12a", "12|12|Illegal Input !"},
           {"HostIPEdit", "127.0.0.1", "127.0.0.1|127.0.0.1"},
           {"HostPTEdit", QString::fromUtf8("1\uFF12"), "1|1|Illegal Input !"},  // full-width digit
           {"Txt_Interval", "12\x01\x03\x16\x16\b", "121|121"},
           {"Txt_Alarm_level", QString("12\x01\x7f") + "3", "3|3"}}) {
    QWidget* target = find(field);
    auto* combo = qobject_cast<QComboBox*>(target);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(target);
    target->setFocus();
    edit->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
    messages.shown.clear();
    for (QChar c : keys) {
      const auto key = c == '\b'            ? Qt::Key_Backspace
                       : c == '\x7f'        ? Qt::Key_Delete
                       : c < ' '            ? Qt::Key(Qt::Key_A + c.unicode() - 1)
                       : c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode())
                                            : Qt::Key_unknown;
      if (c < ' ' && c != '\b')
        QTest::keyClick(target, key, Qt::ControlModifier);
      else
        QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
    }
    QString got = edit->text() + "|" + QString::fromStdString(vm.Find(field)->text);
    for (const auto& box : messages.shown) got += "|" + QString::fromStdString(box);
    EXPECT_EQ(got, want);
  }

  // A click on the option already chosen is a click too.
  QTest::mouseClick(find("Continue_mode"), Qt::LeftButton);
  EXPECT_FALSE(find("Txt_Command")->isEnabled());
  // Choosing the drive shown again is no change: the log folder stays.
  auto* drives = window.findChild<QComboBox*>("Drive1");
  const std::string folder = vm.Dir1.text;
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(vm.Dir1.text, folder);
  // Each byte of the history is one Latin-1 character.
  vm.TxtBox_Reply.text = "2026/12/06 18:41:13 25\xB0\r\n";
  window.renderNow();
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("TxtBox_Reply")->toPlainText(),
            QString::fromLatin1("2026/12/06 18:41:13 25\xB0\n"));

  // With the check pending and no link, a tick that runs opens a box; a refused key's
  // handler opens one and is still running in it.
  emit window.timer1().tick();
  ASSERT_EQ(messages.shown, Texts{"Can't connected !"});
  messages.shown.clear();
  int ticks = 0;
  messages.whileOpen = [&] {
    if (ticks++ == 0) emit window.timer1().tick();
  };
  QTest::keyClicks(find("Txt_Interval"), "a");
  EXPECT_EQ(messages.shown, Texts{"Illegal Input !"});
  QTcpServer server;
  QTcpSocket* peer = ConnectLocally(window.tcpClient(), server);
  ASSERT_NE(peer, nullptr);
  QString versionInBox;
  auto* version = window.findChild<QLabel*>("Label10");
  messages.whileOpen = [&] {
    peer->write("0.90\r\n1.10\r\n");  // in one segment: an unrecognised version, then a good one
    ASSERT_TRUE(WaitFor([&] { return window.tcpClient().HasReply(); }));
    QCoreApplication::processEvents();  // every chance to be (wrongly) handled
    versionInBox = version->text();
  };
  QTest::keyClicks(find("Txt_Interval"), "a");
  EXPECT_EQ(versionInBox, "????");
  EXPECT_TRUE(WaitFor([&] { return version->text() == "1.10"; }));
  EXPECT_FALSE(window.tcpClient().HasReply());
}

}  // namespace
}  // namespace zrv::test
