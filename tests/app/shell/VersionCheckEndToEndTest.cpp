// Check against the simulator: the firmware it reports decides what the
// window unlocks, and exactly the expected queries cross the wire.
#include <QLabel>
#include <QPushButton>

#include "tests/app/shell/EndToEndFixture.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

struct FirmwareCase {
  const char* firmware;
  QStringList wire;
  bool email;
};

class VersionCheckEndToEnd : public EndToEnd, public testing::WithParamInterface<FirmwareCase> {};

TEST_P(VersionCheckEndToEnd, FirmwareUnlocksItsFeatures) {
  const FirmwareCase& c = GetParam();
  Open({.instrument = {.firmware = c.firmware}});
  CheckVersion();
  EXPECT_EQ(Wire(), c.wire);
  EXPECT_EQ(Find<QLabel>("Label10")->text(), c.firmware);
  EXPECT_TRUE(Find("Main_Frame")->isEnabled());
  EXPECT_EQ(Find("EMail_Frame")->isEnabled(), c.email);
  EXPECT_EQ(Find("EMail")->isEnabled(), c.email);
  EXPECT_FALSE(Find("Version_Check")->isEnabled());
  EXPECT_TRUE(Find("start")->isEnabled());
  EXPECT_TRUE(messages.shown.empty());
  // The address checked is first in both history files.
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,,,,,,\r\n");
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), std::to_string(sim->serverPort()) + ",,,,,,\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Firmware, VersionCheckEndToEnd,
    testing::Values(FirmwareCase{"1.00", {"VER?"}, false}, FirmwareCase{"1.10", {"VER?"}, true},
                    FirmwareCase{"1.20", {"VER?", "THRESHOLD?", "HYS?", "EMAIL?"}, true}));

class VersionCheckRefused : public EndToEnd {};

TEST_F(VersionCheckRefused, NobodyListeningLeavesCheckUsable) {
  Open({});
  // Point the port field at a port where nothing listens any more.
  quint16 closed = 0;
  {
    QTcpServer probe;
    closed = ListenLocally(probe);
  }
  vm().HostPTEdit.text = std::to_string(closed);
  window->renderNow();
  Click("Version_Check");
  ASSERT_TRUE(WaitFor([&] { return !messages.shown.empty(); }));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Can't connected !"});
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(Find("Version_Check")->isEnabled());
  EXPECT_EQ(Find<QPushButton>("Version_Check")->text(), "Check");
  EXPECT_FALSE(Find("Main_Frame")->isEnabled());

  // The operator corrects the port and checks again.
  vm().HostPTEdit.text = std::to_string(sim->serverPort());
  window->renderNow();
  CheckVersion();
  EXPECT_EQ(Find<QLabel>("Label10")->text(), "1.20");
}

}  // namespace
}  // namespace zrv::test
