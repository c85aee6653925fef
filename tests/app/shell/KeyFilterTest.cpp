// Typing into the filtered entry fields of the real window: refused
// characters never reach the field and raise exactly one box each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include "app/shell/MainWindow.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

const std::string kIllegal = "Illegal Input !";

class KeyFilterTest : public testing::Test {
 protected:
  void SetUp() override {
    // The run frame opens only after a version check.
    window.core().View().Main_Frame.enabled = true;
    window.renderNow();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  // The widget keys go to, and the line edit that shows the text.
  std::pair<QWidget*, QLineEdit*> Field(const QString& name) {
    auto* w = window.findChild<QWidget*>(name);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return {combo, combo->lineEdit()};
    return {w, qobject_cast<QLineEdit*>(w)};
  }

  // Empties the field as an operator would: select all, backspace.
  void Clear(QWidget* target, QLineEdit* edit) {
    target->setFocus();
    edit->selectAll();
    QTest::keyClick(target, Qt::Key_Backspace);
  }

  ScriptedMessageBox messages;
  MainWindow window{messages};
};

struct Typing {
  const char* field;
  QString typed;
  QString shown;
  int refused;
};

TEST_F(KeyFilterTest, RefusedCharactersAreDroppedWithOneBoxEach) {
  const Typing rows[] = {
      {"Txt_Interval", "12a", "12", 1},
      {"Txt_Interval", "9.5", "95", 1},
      {"Txt_Alarm_level", "x7-", "7", 2},
      {"HostIPEdit", "127.0.0.1", "127.0.0.1", 0},
      {"HostIPEdit", QString::fromUtf8("1\uFF12"), "1", 1},  // full-width digit
      {"HostPTEdit", "2.5", "25", 1},
      {"HostPTEdit",
       QString::fromUtf8("\u00E9"
                         "8"),
       "8", 1},  // Latin-1 letter
  };
  for (const Typing& row : rows) {
    SCOPED_TRACE(std::string(row.field) + " " + row.typed.toStdString());
    auto [target, edit] = Field(row.field);
    Clear(target, edit);
    ASSERT_EQ(edit->text(), "");
    messages.shown.clear();

    // Keys go where the keyboard focus is, as they would from a keyboard.
    ASSERT_EQ(QApplication::focusWidget(), target);
    Type(QApplication::focusWidget(), row.typed);

    EXPECT_EQ(edit->text(), row.shown);
    EXPECT_EQ(messages.shown, std::vector<std::string>(row.refused, kIllegal));
    EXPECT_EQ(window.core().View().Find(row.field)->text, row.shown.toStdString());
  }
}

TEST_F(KeyFilterTest, EditingKeysPass) {
  auto [target, edit] = Field("Txt_Interval");
  Clear(target, edit);
  QTest::keyClicks(target, "12");
  QTest::keyClick(target, Qt::Key_Left);
  QTest::keyClicks(target, "3");
  EXPECT_EQ(edit->text(), "132");

  edit->selectAll();
  QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(target, Qt::Key_End);
  QTest::keyClick(target, Qt::Key_Backspace);
  QTest::keyClick(target, Qt::Key_Backspace);
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "1132");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyFilterTest, InputMethodTextIsFilteredPerCharacter) {
  auto [target, edit] = Field("Txt_Interval");
  Clear(target, edit);
  QInputMethodEvent commit;
  commit.setCommitString(
      QString::fromUtf8("4x\uFF15"
                        "2"));
  QApplication::sendEvent(edit, &commit);
  EXPECT_EQ(edit->text(), "42");
  EXPECT_EQ(messages.shown, std::vector<std::string>(2, kIllegal));
}

}  // namespace
}  // namespace zrv::test
