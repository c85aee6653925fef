// The instrument's e-mail settings through the window: read back after
// Check, switched and set, and changed in the instrument itself.
#include <QLineEdit>
#include <QPushButton>

#include "tests/app/shell/EndToEndFixture.h"

namespace zrv::test {
namespace {

class SettingsEndToEnd : public EndToEnd {};

TEST_F(SettingsEndToEnd, ReadOutSwitchAndSetReachTheInstrument) {
  Open({.instrument = {.firmware = "1.20", .threshold = 90, .hysteresis = 5, .email = false}});
  CheckVersion();
  auto* email = Find<QPushButton>("EMail");
  EXPECT_EQ(Find<QLineEdit>("Txt_Theshold")->text(), "90");
  EXPECT_EQ(Find<QLineEdit>("Txt_Hysteresis")->text(), "05");
  EXPECT_EQ(email->text(), "not Ready");

  Click("EMail");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().emailOn() && Idle(); }));
  EXPECT_EQ(email->text(), "Ready");
  EXPECT_EQ(Wire().last(), "EMAIL ON");

  TypeInto("Txt_Theshold", "85");
  TypeInto("Txt_Hysteresis", "3");
  Click("EMail_Pramset");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().threshold() == 85 && Idle(); }));
  EXPECT_EQ(sim->instrument().hysteresis(), 3);
  EXPECT_EQ(Wire().mid(Wire().size() - 2), (QStringList{"THRESHOLD 85", "HYS 3"}));

  Click("EMail");
  ASSERT_TRUE(WaitFor([&] { return !sim->instrument().emailOn() && Idle(); }));
  EXPECT_EQ(email->text(), "not Ready");
  EXPECT_EQ(Wire().last(), "EMAIL OF");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsEndToEnd, ANewProgramStartReadsBackWhatWasSet) {
  Open({.instrument = {.firmware = "1.20"}});
  CheckVersion();
  Click("EMail");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().emailOn() && Idle(); }));
  TypeInto("Txt_Theshold", "42");
  Click("EMail_Pramset");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().threshold() == 42 && Idle(); }));

  // Close the window and start a new one against the same instrument.
  window->close();
  window = std::make_unique<MainWindow>(messages);
  window->show();
  CheckVersion();
  EXPECT_EQ(Find<QLineEdit>("Txt_Theshold")->text(), "42");
  EXPECT_EQ(Find<QPushButton>("EMail")->text(), "Ready");
}

}  // namespace
}  // namespace zrv::test
