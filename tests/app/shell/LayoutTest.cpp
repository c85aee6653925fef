// The window as built: every control's widget against the view model, a
// set of design values written out by hand, the window itself and the tab
// order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <cmath>
#include <optional>

#include "app/shell/DirListWidget.h"
#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

QColor Rgb(std::uint32_t bgr) {
  if (bgr == kButtonFace) return QApplication::palette().color(QPalette::Button);
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return "QLabel";
    case ControlKind::CommandButton:
      return "QPushButton";
    case ControlKind::TextBox:
      return "QLineEdit";
    case ControlKind::MultiLineTextBox:
      return "QPlainTextEdit";
    case ControlKind::ComboBox:
      return "QComboBox";
    case ControlKind::Frame:
      return "QFrame";
    case ControlKind::OptionButton:
      return "OptionButtonWidget";
    case ControlKind::DriveList:
      return "QComboBox";
    case ControlKind::DirList:
      return "DirListWidget";
    default:
      return nullptr;
  }
}

QString ShownText(QWidget& w) {
  if (auto* x = qobject_cast<QLabel*>(&w)) return x->text();
  if (auto* x = qobject_cast<QPushButton*>(&w)) return x->text();
  if (auto* x = qobject_cast<QLineEdit*>(&w)) return x->text();
  if (auto* x = qobject_cast<QComboBox*>(&w)) return x->currentText();
  if (auto* x = qobject_cast<QRadioButton*>(&w)) return x->text();
  if (auto* x = qobject_cast<QPlainTextEdit*>(&w)) return x->toPlainText();
  if (auto* x = qobject_cast<DirListWidget*>(&w)) return x->path();
  return QString();
}

int Px(int twips) {
  return static_cast<int>(std::lround(twips / 15.0));
}

// Colours are read from the drawn widget; entry fields keep the style's.
bool PaintsBackColor(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::CommandButton ||
         kind == ControlKind::Frame || kind == ControlKind::OptionButton;
}

struct Expected {
  const char* name;
  const char* className;
  QString text;
  std::optional<QColor> back;
  bool enabled;
  int maxLength;  // line edits only
  QString toolTip;
  QRect pixels;
};

class LayoutTest : public testing::Test {
 protected:
  ScriptedMessageBox messages;
  MainWindow window{messages};

  QWidget& Widget(const QString& name) {
    auto* w = window.findChild<QWidget*>(name);
    if (w == nullptr) throw std::runtime_error("no widget " + name.toStdString());
    return *w;
  }

  void Check(const Expected& e) {
    SCOPED_TRACE(e.name);
    QWidget& w = Widget(e.name);
    EXPECT_STREQ(w.metaObject()->className(), e.className);
    EXPECT_EQ(ShownText(w), e.text);
    if (e.back) {
      EXPECT_EQ(DominantColor(w).name(), e.back->name());
    }
    // Each control's own enabled state, whatever its frame's.
    EXPECT_EQ(w.isEnabledTo(w.parentWidget()), e.enabled);
    if (auto* edit = qobject_cast<QLineEdit*>(&w)) {
      EXPECT_EQ(edit->maxLength(), e.maxLength);
    }
    EXPECT_EQ(w.toolTip(), e.toolTip);
    EXPECT_EQ(w.geometry(), e.pixels);
  }
};

TEST_F(LayoutTest, EveryControlIsBuiltAsDesigned) {
  const QColor face = QApplication::palette().color(QPalette::Button);
  const QColor grey(224, 224, 224);
  const Expected design[] = {
      {"Version_Check",
       "QPushButton",
       "Check",
       QColor(255, 128, 128),
       true,
       0,
       "Version_Check",
       {416, 16, 65, 21}},
      {"Main_Frame", "QFrame", "", face, false, 0, "", {304, 56, 305, 257}},
      {"Txt_Interval", "QLineEdit", "10", {}, true, 4, "", {24, 80, 73, 17}},
      {"Txt_Alarm_level", "QLineEdit", "80", {}, true, 2, "", {24, 120, 73, 17}},
      {"Txt_Theshold", "QLineEdit", "0", {}, false, 5, "", {8, 64, 41, 17}},
      {"Txt_Hysteresis", "QLineEdit", "0", {}, false, 5, "", {88, 64, 41, 17}},
      {"TCP_Condition",
       "QPushButton",
       "TCP Condition",
       QColor(255, 255, 255),
       true,
       0,
       "Lights while connecting TCP",
       {8, 88, 85, 29}},
      {"Alarm_Display",
       "QPushButton",
       "Alarm",
       QColor(192, 255, 255),
       true,
       0,
       "Blinks when purity falls below the setting",
       {48, 144, 61, 37}},
      {"clear",
       "QPushButton",
       "clear",
       QColor(255, 255, 128),
       true,
       0,
       "Clear reply buffer",
       {120, 296, 53, 21}},
      {"EMail", "QPushButton", "not Ready", face, false, 0, "E-Mail setting", {8, 16, 65, 21}},
      {"Label13",
       "QLabel",
       "Quorvane (ZRV-02) Controller V1.20",
       grey,
       true,
       0,
       "",
       {8, 8, 401, 25}},
      {"Label1",
       "QLabel",
       QString::fromUtf8("Interval (1\uFF5E9999)"),
       face,
       true,
       0,
       "",
       {24, 48, 103, 13}},
      {"HostIPEdit", "QComboBox", "127.0.0.1", {}, true, 0, "", {8, 64, 145, 20}},
      {"Continue_mode", "OptionButtonWidget", "Continue", face, true, 0, "", {8, 24, 137, 17}},
      {"TxtBox_Reply", "QPlainTextEdit", "", {}, true, 0, "Reply Data", {8, 184, 289, 105}},
  };
  for (const Expected& e : design) Check(e);

  // Every other control as the view model describes it.
  int widgets = 0;
  for (const Control* c : window.core().View().All()) {
    const char* className = ClassOf(c->kind);
    if (className == nullptr) {
      EXPECT_EQ(window.findChild<QWidget*>(QString::fromStdString(c->name)), nullptr);
      continue;
    }
    ++widgets;
    const Geometry& g = c->geometry.value();
    std::optional<QColor> back;
    if (PaintsBackColor(c->kind)) back = Rgb(c->backColor.value_or(kButtonFace));
    Check({c->name.c_str(), className, QString::fromStdString(c->text), back, c->enabled,
           c->maxLength == 0 ? 32767 : c->maxLength, QString::fromStdString(c->toolTip),
           QRect(Px(g.left), Px(g.top), Px(g.width), Px(g.height))});
    const QString container = QString::fromStdString(c->container);
    QWidget& w = Widget(QString::fromStdString(c->name));
    EXPECT_EQ(w.parentWidget(), container.isEmpty() ? &window : &Widget(container)) << c->name;
  }
  EXPECT_EQ(widgets, 42);

  auto& title = static_cast<QLabel&>(Widget("Label13"));
  EXPECT_EQ(title.palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(title.font().family(), "MS PGothic");
  EXPECT_TRUE(title.font().bold());
  EXPECT_EQ(Widget("start").font().family(), "MS PGothic");
  EXPECT_FALSE(Widget("start").font().bold());
}

TEST_F(LayoutTest, WindowHasItsCaptionSizeAndColour) {
  EXPECT_EQ(window.windowTitle(), "ZRV_02 Controller V1.20");
  window.show();
  EXPECT_EQ(window.size(), QSize(621, 325));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.palette().color(QPalette::Window), QColor(224, 224, 224));
}

TEST_F(LayoutTest, FullWidthTildeHasAGlyph) {
  const QFontMetrics metrics(Widget("Label1").font());
  EXPECT_TRUE(metrics.inFont(QChar(0xFF5E)));
}

TEST_F(LayoutTest, CaptionsFitTheirControls) {
  const int indicator = window.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                        window.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
  for (QWidget* w : window.findChildren<QWidget*>()) {
    QString text;
    int room = w->width();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      text = label->text();
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      text = button->text();
      room -= 4;  // the raised edge
    } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
      text = option->text();
      room -= indicator;
    } else {
      continue;
    }
    const QFontMetrics metrics(w->font());
    EXPECT_LE(metrics.horizontalAdvance(text), room) << w->objectName().toStdString();
    EXPECT_LE(metrics.height(), w->height()) << w->objectName().toStdString();
  }
}

TEST_F(LayoutTest, TabOrderFollowsTabIndexFromClear) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "clear");

  const QStringList expected = {
      "clear",         "TxtBox_Reply",   "Single_mode",     "Drive1",        "Dir1",
      "Continue_mode", "Txt_Interval",   "Txt_Alarm_level", "Txt_Save_File", "start",
      "stop",          "Txt_Command",    "Alarm_Display",   "TCP_Condition", "Version_Check",
      "EMail",         "Txt_Hysteresis", "Txt_Theshold",    "EMail_Pramset", "HostIPEdit",
      "HostPTEdit"};
  QStringList chain;
  QWidget* start = &Widget("clear");
  QWidget* w = start;
  do {
    if (expected.contains(w->objectName()) && !chain.contains(w->objectName())) {
      chain << w->objectName();
    }
    w = w->nextInFocusChain();
  } while (w != start);
  EXPECT_EQ(chain, expected);
}

}  // namespace
}  // namespace zrv::test
