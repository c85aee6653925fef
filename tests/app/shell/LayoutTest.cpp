// The window as built: every widget against the view model, the controls
// that matter most against values written out by hand, the window itself
// and where the tab order starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <map>

#include "app/shell/DirListWidget.h"
#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

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

struct Expected {
  const char* name;
  const char* className;
  const char* text;  // UTF-8
  QColor back;       // invalid: the style's own (entry fields)
  bool enabled;
  int maxLength;  // line edits only
  QRect pixels;
};

class LayoutTest : public testing::Test {
 protected:
  QWidget* Widget(const std::string& name) {
    return window.findChild<QWidget*>(QString::fromStdString(name));
  }

  void Check(const Expected& e) {
    SCOPED_TRACE(e.name);
    QWidget* w = Widget(e.name);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->metaObject()->className(), e.className);
    EXPECT_EQ(ShownText(*w), QString::fromUtf8(e.text));
    if (e.back.isValid()) {
      EXPECT_EQ(DominantColor(*w), e.back);
    }
    // The control's own enabled state, whatever its frame's.
    EXPECT_EQ(w->isEnabledTo(w->parentWidget()), e.enabled);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(edit->maxLength(), e.maxLength);
    }
    EXPECT_EQ(w->geometry(), e.pixels);
  }

  ScriptedMessageBox messages;
  MainWindow window{messages};
};

TEST_F(LayoutTest, EveryWidgetIsBuiltAsDesigned) {
  const QColor face = QApplication::palette().color(QPalette::Button), grey(224, 224, 224);
  const Expected design[] = {
      {"Version_Check", "QPushButton", "Check", QColor(255, 128, 128), true, 0, {416, 16, 65, 21}},
      {"Main_Frame", "QFrame", "", face, false, 0, {304, 56, 305, 257}},
      {"Txt_Interval", "QLineEdit", "10", {}, true, 4, {24, 80, 73, 17}},
      {"Txt_Theshold", "QLineEdit", "0", {}, false, 5, {8, 64, 41, 17}},
      {"Alarm_Display", "QPushButton", "Alarm", QColor(192, 255, 255), true, 0, {48, 144, 61, 37}},
      {"Label13", "QLabel", "Quorvane (ZRV-02) Controller V1.20", grey, true, 0, {8, 8, 401, 25}},
      {"Label1", "QLabel", "Interval (1\uFF5E9999)", face, true, 0, {24, 48, 103, 13}},
      {"HostIPEdit", "QComboBox", "127.0.0.1", {}, true, 0, {8, 64, 145, 20}},
      {"Continue_mode", "OptionButtonWidget", "Continue", face, true, 0, {8, 24, 137, 17}},
      {"TxtBox_Reply", "QPlainTextEdit", "", {}, true, 0, {8, 184, 289, 105}},
  };
  for (const Expected& e : design) Check(e);

  // Every widget as the view model describes it; colours are read from the
  // drawn widget where the widget paints its own back colour.
  const std::map<ControlKind, const char*> classOf = {
      {ControlKind::Label, "QLabel"},
      {ControlKind::CommandButton, "QPushButton"},
      {ControlKind::TextBox, "QLineEdit"},
      {ControlKind::MultiLineTextBox, "QPlainTextEdit"},
      {ControlKind::ComboBox, "QComboBox"},
      {ControlKind::Frame, "QFrame"},
      {ControlKind::OptionButton, "OptionButtonWidget"},
      {ControlKind::DriveList, "QComboBox"},
      {ControlKind::DirList, "DirListWidget"}};
  const auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
  int widgets = 0;
  for (const Control* c : window.core().View().All()) {
    const auto kind = classOf.find(c->kind);
    if (kind == classOf.end()) {
      EXPECT_EQ(Widget(c->name), nullptr) << c->name;
      continue;
    }
    ++widgets;
    const bool painted = c->kind == ControlKind::Label || c->kind == ControlKind::CommandButton ||
                         c->kind == ControlKind::Frame || c->kind == ControlKind::OptionButton;
    const std::uint32_t bgr = c->backColor.value_or(kButtonFace);
    QColor back = bgr == kButtonFace ? QApplication::palette().color(QPalette::Button)
                                     : QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    if (!painted) back = QColor();
    const Geometry& g = c->geometry.value();
    Check({c->name.c_str(), kind->second, c->text.c_str(), back, c->enabled,
           c->maxLength == 0 ? 32767 : c->maxLength,
           QRect(px(g.left), px(g.top), px(g.width), px(g.height))});
    QWidget* parent = c->container.empty() ? &window : Widget(c->container);
    EXPECT_TRUE(parent && parent->findChild<QWidget*>(QString::fromStdString(c->name),
                                                      Qt::FindDirectChildrenOnly))
        << c->name;
  }
  EXPECT_EQ(widgets, 42);
}

TEST_F(LayoutTest, WindowCaptionSizeAndFirstTabStop) {
  EXPECT_EQ(window.windowTitle(), "ZRV_02 Controller V1.20");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.size(), QSize(621, 325));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "clear");
  QWidget* next = QApplication::focusWidget()->nextInFocusChain();
  EXPECT_EQ(next->objectName(), "TxtBox_Reply");
}

}  // namespace
}  // namespace zrv::test
