// The real window: every one of the 45 controls against the values of its
// design, written out here; keys through the entry filters, and clicks that
// choose again what is chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "shell/DirListWidget.h"
#include "shell/MainWindow.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// A fresh window on boxes that the test reads.
struct Window : testing::Test {
  QWidget* Find(const char* name) { return window.findChild<QWidget*>(name); }
  FakeMessageBox messages;
  shell::MainWindow window{messages};
  ViewModel& vm = window.Core().View();
};

TEST_F(Window, IsBuiltAsDesigned) {
  // Name|class|parent|text|color|enabled|maximum length (0: not a text box)|x,y,width,height in
  // pixels|tool tip. Text "*": set at start-up; color "any": the style's own, "face": the button
  // face's. A name alone: no widget.
  // clang-format off
  const char* const design[] = {
      "HostPTEdit|QComboBox|MainWindow|*|any|1|0|176,64,89,20|",
      "HostIPEdit|QComboBox|MainWindow|127.0.0.1|any|1|0|8,64,145,20|",
      "EMail_Frame|QFrame|MainWindow||face|0|0|128,88,169,89|",
      "EMail_Pramset|QPushButton|EMail_Frame|set|face|0|0|104,16,33,21|Parameter set",
      "Txt_Theshold|QLineEdit|EMail_Frame|0|any|0|5|8,64,41,17|",
      "Txt_Hysteresis|QLineEdit|EMail_Frame|0|any|0|5|88,64,41,17|",
      "EMail|QPushButton|EMail_Frame|not Ready|face|0|0|8,16,65,21|E-Mail setting",
      "Label14|QLabel|EMail_Frame|%|face|1|0|56,64,17,13|",
      "Label15|QLabel|EMail_Frame|%|face|1|0|136,64,17,13|",
      "Label11|QLabel|EMail_Frame|Hysteresis|face|1|0|88,48,65,13|",
      "Label12|QLabel|EMail_Frame|Threshold|face|1|0|8,48,65,13|",
      "Label8|QLabel|EMail_Frame|  E-Mail|face|1|0|8,0,49,13|",
      "Version_Check|QPushButton|MainWindow|Check|#ff8080|1|0|416,16,65,21|Version_Check",
      "TCP_Condition|QPushButton|MainWindow|TCP Condition|#ffffff|1|0|8,88,85,29|Lights while connecting TCP",
      "Main_Frame|QFrame|MainWindow||face|0|0|304,56,305,257|",
      "Alarm_Display|QPushButton|Main_Frame|Alarm|#c0ffff|1|0|48,144,61,37|Blinks when purity falls below the setting",
      "Txt_Command|QLineEdit|Main_Frame|VER?|any|1|32767|32,224,113,17|",
      "stop|QPushButton|Main_Frame|stop|#ffc0c0|1|0|240,200,44,25|Execution stop",
      "start|QPushButton|Main_Frame|start|#c0ffc0|1|0|168,200,44,25|Execution",
      "Txt_Save_File|QLineEdit|Main_Frame|zrv-02.log|any|1|32767|160,64,137,17|",
      "Txt_Alarm_level|QLineEdit|Main_Frame|80|any|1|2|24,120,73,17|",
      "Txt_Interval|QLineEdit|Main_Frame|10|any|1|4|24,80,73,17|",
      "Continue_mode|zrv::shell::OptionButtonWidget|Main_Frame|Continue|face|1|0|8,24,137,17|",
      "Dir1|zrv::shell::DirListWidget|Main_Frame|*|any|1|0|160,112,137,76|",
      "Drive1|QComboBox|Main_Frame|*|any|1|0|160,88,137,20|",
      "Single_mode|zrv::shell::OptionButtonWidget|Main_Frame|Single|face|1|0|8,184,137,17|",
      "Label7|QLabel|Main_Frame|* '0' set : 10000s|face|1|0|24,64,127,13|",
      "Label3|QLabel|Main_Frame|Command|face|1|0|32,208,103,13|",
      "Label6|QLabel|Main_Frame|Save to:|face|1|0|160,48,103,13|",
      "Label5|QLabel|Main_Frame|%|face|1|0|104,120,15,13|",
      "Label4|QLabel|Main_Frame|s|face|1|0|104,88,15,13|",
      "Label2|QLabel|Main_Frame|Alarm Level (0%\uFF5E99%)|face|1|0|24,104,133,13|",
      "Label1|QLabel|Main_Frame|Interval (1\uFF5E9999)|face|1|0|24,48,103,13|",
      "TxtBox_Reply|QPlainTextEdit|MainWindow||any|1|0|8,184,289,105|Reply Data",
      "clear|QPushButton|MainWindow|clear|#ffff80|1|0|120,296,53,21|Clear reply buffer",
      "Label16|QLabel|MainWindow|(MAX 100 Line)|#e0e0e0|1|0|8,168,93,13|",
      "Label10|QLabel|MainWindow|????|#e0e0e0|1|0|488,24,41,13|",
      "Label9|QLabel|MainWindow|Firmware Version:|#e0e0e0|1|0|488,8,97,13|",
      "HostPT|QLabel|MainWindow|Host Port Number|#e0e0e0|1|0|176,48,105,13|",
      "HostIP|QLabel|MainWindow|Host IP Address|#e0e0e0|1|0|8,48,103,13|",
      "Label28|QLabel|MainWindow|Reply Data|#e0e0e0|1|0|8,152,77,13|",
      "Label13|QLabel|MainWindow|Quorvane (ZRV-02) Controller V1.20|#e0e0e0|1|0|8,8,401,25|",
      "Timer2", "Timer1", "tcpclient",
  };
  // clang-format on
  EXPECT_EQ(std::size(design), 45u);
  for (const QString row : design) {
    const QStringList want = row.split('|');
    QStringList got{want[0]};
    if (QWidget* w = window.findChild<QWidget*>(want[0])) {
      const char* shown = w->inherits("QComboBox")        ? "currentText"
                          : w->inherits("QPlainTextEdit") ? "plainText"
                                                          : "text";
      const auto color = [w] {  // grabbing the widget costs, so only where the row checks it
        const QColor back = DominantColor(*w);
        return back == QApplication::palette().color(QPalette::Button) ? "face" : back.name();
      };
      got << w->metaObject()->className()
          << (w->parentWidget() == &window ? "MainWindow" : w->parentWidget()->objectName())
          << (want.value(3) == "*" ? "*" : w->property(shown).toString())
          << (want.value(4) == "any" ? "any" : color())
          << QString::number(w->isEnabledTo(w->parentWidget()))
          << QString::number(w->property("maxLength").toInt())
          << QString("%1,%2,%3,%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())
          << w->toolTip();
    }
    EXPECT_EQ(got.join('|'), row);
  }
  // The window's own caption and fixed size, and the tab order from its first control.
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window) && QApplication::focusWidget());
  const QWidget* focus = QApplication::focusWidget();  // then the next in the tab order
  EXPECT_EQ(std::tuple(window.windowTitle(), window.minimumSize(), window.maximumSize(),
                       focus->objectName(), focus->nextInFocusChain()->objectName(),
                       window.findChild<shell::DirListWidget*>("Dir1")->Path()),
            std::tuple("ZRV_02 Controller V1.20", QSize(621, 325), QSize(621, 325), "clear",
                       "TxtBox_Reply", QDir::currentPath()));
}

TEST_F(Window, KeysGoThroughTheEntryFilters) {
  vm.Main_Frame.enabled = vm.Txt_Command.enabled = true;  // open as after a version check
  window.RenderNow();
  // The text shown, the model's, the boxes. \x7f is Delete, other control characters
  // Ctrl+letter: select all, copy, paste twice. Each row starts with Ctrl+A: it types over.
  for (const auto& [field, keys, want] :
       std::initializer_list<std::tuple<const char*, QString, QString>>{
           {"HostPTEdit", QString::fromUtf8("1\uFF12"), "1|1|Illegal Input !"},  // full-width digit
           {"Txt_Interval", "12\x01\x03\x16\x16", "1212|1212"},
           {"Txt_Alarm_level", QString("12\x01\x7f") + "3", "3|3"}}) {
    QWidget* target = Find(field);
    messages.shown.clear();
    for (QChar c : QChar(1) + keys) {
      // Delete with the text X11 gives it; a character no Qt key stands for.
      if (c == '\x7f' || c.unicode() > 0x7f)
        QTest::sendKeyEvent(QTest::Click, target, c == '\x7f' ? Qt::Key_Delete : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
      else if (c < ' ')
        QTest::keyClick(target, char('a' + c.unicode() - 1), Qt::ControlModifier);
      else
        QTest::keyClicks(target, c);
    }
    QString got =
        target->property(target->inherits("QComboBox") ? "currentText" : "text").toString();
    got += "|" + QString::fromStdString(vm.Find(field)->text);
    for (const auto& box : messages.shown) got += "|" + QString::fromStdString(box);
    EXPECT_EQ(got, want);
  }
}

// A click on the option already chosen is a click too; choosing the drive shown again is no
// change, so the log folder stays.
TEST_F(Window, AClickOnTheChosenOptionCountsAndTheShownDriveKeepsTheFolder) {
  vm.Main_Frame.enabled = vm.Txt_Command.enabled = true;
  window.RenderNow();
  QTest::mouseClick(Find("Continue_mode"), Qt::LeftButton);
  auto* drives = window.findChild<QComboBox*>("Drive1");
  const std::string folder = vm.Dir1.text;
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(std::pair(Find("Txt_Command")->isEnabled(), vm.Dir1.text), std::pair(false, folder));
}

TEST_F(Window, TheHistoryShowsEachByteAsOneLatin1Character) {
  vm.TxtBox_Reply.text = "2026/12/06 18:41:13 25\xB0\r\n";
  window.RenderNow();
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("TxtBox_Reply")->toPlainText(),
            QString::fromLatin1("2026/12/06 18:41:13 25\xB0\n"));
}

}  // namespace
}  // namespace zrv::test
