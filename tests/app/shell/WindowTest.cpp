// The real window: every one of the 45 controls against the values of its
// design, written out here; keys through the entry filters, clicks that choose
// again what is chosen, and the busy guard that keeps handlers from
// overlapping while a box is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTcpSocket>
#include <functional>

#include "app/shell/DirListWidget.h"
#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

constexpr int kFace = 1, kAny = 0;  // the button face; the style's own
const char *const kWin = "MainWindow", *const kMail = "EMail_Frame", *const kMain = "Main_Frame";

struct Design {
  const char *name, *qtClass, *parent, *text;  // class "": no widget; text null: set at start-up
  int back, enabled, maxLength, left, top, width, height;  // &HBBGGRR; twips
  const char* toolTip = "";
};

// A modal box: `whileOpen` runs inside Show, as the operator's time with it would.
struct BusyMessageBox : FakeMessageBox {
  void Show(const std::string& text) override {
    FakeMessageBox::Show(text);
    if (whileOpen) whileOpen();
  }
  std::function<void()> whileOpen;
};

class Window : public testing::Test {
 protected:
  BusyMessageBox messages;
  MainWindow window{messages};
};

TEST_F(Window, EveryControlIsBuiltAsDesigned) {
  // clang-format off
  const Design design[] = {
      {"HostPTEdit", "QComboBox", kWin, nullptr, kAny, true, 0, 2640, 960, 1335, 300},
      {"HostIPEdit", "QComboBox", kWin, "127.0.0.1", kAny, true, 0, 120, 960, 2172, 300},
      {"EMail_Frame", "QFrame", kWin, "", kFace, false, 0, 1920, 1320, 2535, 1335},
      {"EMail_Pramset", "QPushButton", kMail, "set", kFace, false, 0, 1560, 240, 495, 315, "Parameter set"},
      {"Txt_Theshold", "QLineEdit", kMail, "0", kAny, false, 5, 120, 960, 615, 252},
      {"Txt_Hysteresis", "QLineEdit", kMail, "0", kAny, false, 5, 1320, 960, 615, 252},
      {"EMail", "QPushButton", kMail, "not Ready", kFace, false, 0, 120, 240, 975, 315, "E-Mail setting"},
      {"Label14", "QLabel", kMail, "%", kFace, true, 0, 840, 960, 255, 195},
      {"Label15", "QLabel", kMail, "%", kFace, true, 0, 2040, 960, 255, 195},
      {"Label11", "QLabel", kMail, "Hysteresis", kFace, true, 0, 1320, 720, 975, 195},
      {"Label12", "QLabel", kMail, "Threshold", kFace, true, 0, 120, 720, 975, 195},
      {"Label8", "QLabel", kMail, "  E-Mail", kFace, true, 0, 120, 0, 735, 195},
      {"Version_Check", "QPushButton", kWin, "Check", 0x8080FF, true, 0, 6240, 240, 975, 315, "Version_Check"},
      {"TCP_Condition", "QPushButton", kWin, "TCP Condition", 0xFFFFFF, true, 0, 120, 1320, 1275, 435, "Lights while connecting TCP"},
      {"Timer2", "", kWin, "", kAny, true, 0, 0, 0, 0, 0},
      {"Main_Frame", "QFrame", kWin, "", kFace, false, 0, 4560, 840, 4575, 3855},
      {"Alarm_Display", "QPushButton", kMain, "Alarm", 0xFFFFC0, true, 0, 720, 2160, 915, 555, "Blinks when purity falls below the setting"},
      {"Txt_Command", "QLineEdit", kMain, "VER?", kAny, true, 32767, 480, 3360, 1695, 252},
      {"stop", "QPushButton", kMain, "stop", 0xC0C0FF, true, 0, 3600, 3000, 660, 375, "Execution stop"},
      {"start", "QPushButton", kMain, "start", 0xC0FFC0, true, 0, 2520, 3000, 660, 375, "Execution"},
      {"Txt_Save_File", "QLineEdit", kMain, "zrv-02.log", kAny, true, 32767, 2400, 960, 2055, 252},
      {"Txt_Alarm_level", "QLineEdit", kMain, "80", kAny, true, 2, 360, 1800, 1092, 252},
      {"Txt_Interval", "QLineEdit", kMain, "10", kAny, true, 4, 360, 1200, 1092, 252},
      {"Continue_mode", "OptionButtonWidget", kMain, "Continue", kFace, true, 0, 120, 360, 2055, 255},
      {"Dir1", "DirListWidget", kMain, nullptr, kAny, true, 0, 2400, 1680, 2055, 1140},
      {"Drive1", "QComboBox", kMain, nullptr, kAny, true, 0, 2400, 1320, 2055, 300},
      {"Single_mode", "OptionButtonWidget", kMain, "Single", kFace, true, 0, 120, 2760, 2055, 255},
      {"Label7", "QLabel", kMain, "* '0' set : 10000s", kFace, true, 0, 360, 960, 1905, 195},
      {"Label3", "QLabel", kMain, "Command", kFace, true, 0, 480, 3120, 1545, 195},
      {"Label6", "QLabel", kMain, "Save to:", kFace, true, 0, 2400, 720, 1545, 195},
      {"Label5", "QLabel", kMain, "%", kFace, true, 0, 1560, 1800, 225, 195},
      {"Label4", "QLabel", kMain, "s", kFace, true, 0, 1560, 1320, 225, 195},
      {"Label2", "QLabel", kMain, "Alarm Level (0%\uFF5E99%)", kFace, true, 0, 360, 1560, 1995, 195},
      {"Label1", "QLabel", kMain, "Interval (1\uFF5E9999)", kFace, true, 0, 360, 720, 1545, 195},
      {"TxtBox_Reply", "QPlainTextEdit", kWin, "", kAny, true, 0, 120, 2760, 4335, 1575, "Reply Data"},
      {"clear", "QPushButton", kWin, "clear", 0x80FFFF, true, 0, 1800, 4440, 795, 315, "Clear reply buffer"},
      {"Timer1", "", kWin, "", kAny, true, 0, 0, 0, 0, 0},
      {"tcpclient", "", kWin, "", kAny, true, 0, 0, 0, 0, 0},
      {"Label16", "QLabel", kWin, "(MAX 100 Line)", 0xE0E0E0, true, 0, 120, 2520, 1395, 195},
      {"Label10", "QLabel", kWin, "????", 0xE0E0E0, true, 0, 7320, 360, 615, 195},
      {"Label9", "QLabel", kWin, "Firmware Version:", 0xE0E0E0, true, 0, 7320, 120, 1455, 195},
      {"HostPT", "QLabel", kWin, "Host Port Number", 0xE0E0E0, true, 0, 2640, 720, 1575, 195},
      {"HostIP", "QLabel", kWin, "Host IP Address", 0xE0E0E0, true, 0, 120, 720, 1545, 195},
      {"Label28", "QLabel", kWin, "Reply Data", 0xE0E0E0, true, 0, 120, 2280, 1155, 195},
      {"Label13", "QLabel", kWin, "Quorvane (ZRV-02) Controller V1.20", 0xE0E0E0, true, 0, 120, 120, 6015, 375},
  };
  // clang-format on
  ASSERT_EQ(std::size(design), 45u);
  const auto px = [](auto... twips) { return QList{qRound(twips / 15.0)...}; };
  for (const Design& d : design) {
    SCOPED_TRACE(d.name);
    QWidget* w = window.findChild<QWidget*>(d.name);
    ASSERT_EQ(w != nullptr, *d.qtClass != 0);
    if (!w) continue;
    EXPECT_STREQ(w->metaObject()->className(), d.qtClass);
    QWidget* parent = w->parentWidget();
    EXPECT_EQ(parent == &window ? QString(kWin) : parent->objectName(), d.parent);
    const char* shown = w->inherits("QComboBox")        ? "currentText"
                        : w->inherits("QPlainTextEdit") ? "plainText"
                                                        : "text";
    EXPECT_EQ(d.text ? w->property(shown).toString() : QString(), QString::fromUtf8(d.text));
    const QColor back = d.back == kFace ? QApplication::palette().color(QPalette::Button)
                                        : QColor(d.back & 0xFF, (d.back >> 8) & 0xFF, d.back >> 16);
    EXPECT_EQ((d.back == kAny ? back : DominantColor(*w)).name(), back.name());
    EXPECT_EQ(w->isEnabledTo(parent), d.enabled != 0);
    EXPECT_EQ(w->property("maxLength").toInt(), d.maxLength);  // 0: not a text box
    const QList<int> geometry{w->x(), w->y(), w->width(), w->height()};
    EXPECT_EQ(geometry, px(d.left, d.top, d.width, d.height));
    EXPECT_EQ(w->toolTip(), QString(d.toolTip));
  }
  EXPECT_EQ(window.findChild<DirListWidget*>("Dir1")->path(), QDir::currentPath());
  EXPECT_EQ(window.windowTitle(), "ZRV_02 Controller V1.20");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.size(), QSize(621, 325));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "clear");
  EXPECT_EQ(QApplication::focusWidget()->nextInFocusChain()->objectName(), "TxtBox_Reply");
}

TEST_F(Window, KeysReachTheFiltersReselectionsAreNoChangeAndABoxHoldsTicksAndReplies) {
  ViewModel& vm = window.core().View();
  vm.Main_Frame.enabled = vm.Txt_Command.enabled = true;  // as after a version check
  window.renderNow();
  const auto find = [&](const char* name) { return window.findChild<QWidget*>(name); };
  // The text shown, the model's, the boxes. \x7f is Delete, other control characters
  // Ctrl+letter: select all, copy, paste twice. Ctrl+A and Backspace clear each field first.
  for (const auto& [field, keys, want] :
       std::initializer_list<std::tuple<const char*, QString, QString>>{
           {"HostPTEdit", QString::fromUtf8("1\uFF12"), "1|1|Illegal Input !"},  // full-width digit
           {"Txt_Interval", "12\x01\x03\x16\x16", "1212|1212"},
           {"Txt_Alarm_level", QString("12\x01\x7f") + "3", "3|3"}}) {
    QWidget* target = find(field);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
    messages.shown.clear();
    for (QChar c : keys) {
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

  // A click on the option already chosen is a click too; choosing the drive shown again is no
  // change, so the log folder stays.
  QTest::mouseClick(find("Continue_mode"), Qt::LeftButton);
  auto* drives = window.findChild<QComboBox*>("Drive1");
  const std::string folder = vm.Dir1.text;
  emit drives->activated(drives->currentIndex());
  EXPECT_EQ(std::pair(find("Txt_Command")->isEnabled(), vm.Dir1.text), std::pair(false, folder));
  // With the check pending and no link, a tick opens a box; so would one that came while a
  // refused key's handler is still running in its box, were it let in.
  emit window.timer1().tick();
  int ticks = 0;
  messages.whileOpen = [&] {
    if (ticks++ == 0) emit window.timer1().tick();
  };
  QTest::keyClicks(find("Txt_Interval"), "a");
  EXPECT_EQ(messages.shown, (Texts{"Can't connected !", "Illegal Input !"}));
  QTcpServer server;
  QTcpSocket* peer = ConnectLocally(window.tcpClient(), server);
  ASSERT_NE(peer, nullptr);
  auto* version = window.findChild<QLabel*>("Label10");
  QString shownInBox;
  messages.whileOpen = [&] {
    peer->write("0.9\r\n1.10\r\n");  // in one segment: an unrecognised version, then a good one
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.tcpClient().HasReply(); }));
    QCoreApplication::processEvents();  // every chance to be (wrongly) handled
    shownInBox = version->text() + " " + QString::number(window.tcpClient().NextReplySize());
  };
  QTest::keyClicks(find("Txt_Interval"), "a");
  EXPECT_EQ(shownInBox, QString("???? 5"));  // the first reply still waits
  EXPECT_TRUE(QTest::qWaitFor([&] { return version->text() == "1.10"; }));
  EXPECT_FALSE(window.tcpClient().HasReply());
  // Each byte of the history is one Latin-1 character.
  vm.TxtBox_Reply.text = "2026/12/06 18:41:13 25\xB0\r\n";
  window.renderNow();
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("TxtBox_Reply")->toPlainText(),
            QString::fromLatin1("2026/12/06 18:41:13 25\xB0\n"));
}

}  // namespace
}  // namespace zrv::test
