// Check -> tick -> "VER?" -> reply -> gating of the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

using Texts = std::vector<std::string>;

struct VersionCase {
  const char* reply;
  bool recognised;
  bool email;    // e-mail frame usable
  bool readout;  // "THRESHOLD?" follows
  const char* shown;
};

TEST(VersionCheck, TheFirmwareDecidesWhatBecomesUsable) {
  const VersionCase cases[] = {
      {"1.00\r\n", true, false, false, "1.00"},  {"1.10\r\n", true, true, false, "1.10"},
      {"1.20\r\n", true, true, true, "1.20"},    {"2.00\r\n", true, true, true, "2.00"},
      {"1\r\n", true, false, false, "1\r\n"},    {"1.2a\r\n", true, true, true, "1.2a"},
      {"1.1\r", true, true, false, "1.1\r"},     {"1.05\r\n", false, false, false, "????"},
      {"0.90\r\n", false, false, false, "????"}, {"V1.2\r\n", false, false, false, "????"},
      {"", false, false, false, "????"},
  };
  for (const auto& c : cases) {
    Rig r;
    r.w.Version_Check_Click();
    r.Tick();
    r.Reply(c.reply);
    const ViewModel& vm = r.vm;
    EXPECT_EQ(r.g.VersionPending, c.recognised ? 0 : 1) << c.reply;
    EXPECT_EQ(vm.Main_Frame.enabled, c.recognised) << c.reply;
    for (const Control* e :
         {&vm.EMail_Frame, &vm.EMail, &vm.EMail_Pramset, &vm.Txt_Theshold, &vm.Txt_Hysteresis}) {
      EXPECT_EQ(e->enabled, c.email) << c.reply << " " << e->name;
    }
    EXPECT_EQ(vm.Version_Check.enabled, !c.recognised) << c.reply;
    EXPECT_EQ(vm.Version_Check.text, c.recognised ? "Complete" : "Check") << c.reply;
    EXPECT_EQ(vm.Version_Check.backColor, c.recognised ? kGreen : kSalmon) << c.reply;
    EXPECT_EQ(vm.Label10.text, c.shown) << c.reply;
    EXPECT_EQ(r.g.ReadoutStep, c.readout ? 1 : 0) << c.reply;
    EXPECT_EQ(vm.TxtBox_Reply.text, "") << c.reply;

    r.NewlySent();
    r.Tick();
    const Texts next = r.NewlySent();
    if (!c.recognised) {
      EXPECT_EQ(next, Texts{"VER?\r\n"}) << "asked again: " << c.reply;
    } else if (c.readout) {
      EXPECT_EQ(next, Texts{"THRESHOLD?\r\n"}) << c.reply;
    } else {
      EXPECT_TRUE(next.empty()) << c.reply;
      EXPECT_FALSE(r.timer1.enabled) << "idle stop: " << c.reply;
      EXPECT_TRUE(vm.start.enabled) << c.reply;
    }
  }
}

TEST(VersionCheck, ClickOpensQueuesWritesHistoryThenStartsTheTimer) {
  WriteFileBytes(kIpHistoryFile, "10.1.1.1,,,,,,\r\n");
  Rig r;
  r.vm.HostIPEdit.text = "127.0.0.1";
  r.vm.HostPTEdit.text = "20001";
  r.w.Version_Check_Click();
  EXPECT_EQ(r.socket.calls, (Texts{"host 127.0.0.1", "port 20001", "connect"}));
  EXPECT_EQ(r.g.PendingCommand, "VER?\r\n");
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,10.1.1.1,,,,,\r\n");
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), "20001,,,,,,\r\n");
  EXPECT_TRUE(r.timer1.enabled);
  EXPECT_EQ(r.timer1.interval, 200);
  EXPECT_EQ(r.vm.Version_Check.text, "Check");
}

TEST(VersionCheck, NoReplyMeansVerEveryTickWithoutEnd) {
  Rig r;
  r.w.Version_Check_Click();
  r.Tick(100);
  EXPECT_EQ(r.socket.Sent(), Texts(100, "VER?\r\n"));
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST(VersionCheck, APortThatOverflowsStopsTheClickWithAClearMessage) {
  Rig r;
  r.vm.HostPTEdit.text = "99999";
  r.w.RunHandler([&] { r.w.Version_Check_Click(); });
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_NE(r.messages.shown[0].find("99999"), std::string::npos);
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_TRUE(r.socket.calls.empty());
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), "") << "stopped before the history";
  // The program goes on: a corrected port checks normally.
  r.vm.HostPTEdit.text = "7777";
  r.w.RunHandler([&] { r.w.Version_Check_Click(); });
  EXPECT_TRUE(r.timer1.enabled);
}

TEST(VersionCheck, AFailedFirstSendLeavesCheckUsable) {
  Rig r;
  r.socket.connectsImmediately = false;
  r.w.Version_Check_Click();
  r.Tick();
  EXPECT_EQ(r.messages.shown, Texts{"Can't connected !"});
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_TRUE(r.vm.Version_Check.enabled);
  EXPECT_FALSE(r.vm.Main_Frame.enabled);
  EXPECT_EQ(r.g.VersionPending, 1);
}

TEST(VersionCheck, AnUnwritableHistoryDoesNotStopTheCheck) {
  std::filesystem::create_directory(std::string(kPortHistoryFile) + ".tmp");
  Rig r;
  r.vm.HostIPEdit.text = "127.0.0.1";
  r.w.Version_Check_Click();
  EXPECT_EQ(r.messages.shown, Texts{"Can't write ZRV-02_PortList.Log !"});
  EXPECT_TRUE(r.timer1.enabled);
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,,,,,,\r\n");
}

}  // namespace
}  // namespace zrv::test
