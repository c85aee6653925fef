// Check -> tick -> "VER?" -> reply -> gating of the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(VersionCheck, TheFirmwareDecidesWhatBecomesUsable) {
  const struct {
    const char* reply;
    bool recognised, email;
    const char *shown, *next;  // Label10, and what the next tick sends
  } rows[] = {
      {"1.00\r\n", true, false, "1.00", ""},
      {"1.10\r\n", true, true, "1.10", ""},
      {"1.20\r\n", true, true, "1.20", "THRESHOLD?\r\n"},
      {"2.00\r\n", true, true, "2.00", "THRESHOLD?\r\n"},
      {"1\r\n", true, false, "1\r\n", ""},
      {"1.2a\r\n", true, true, "1.2a", "THRESHOLD?\r\n"},
      {"1.1\r", true, true, "1.1\r", ""},
      {"1.05\r\n", false, false, "????", "VER?\r\n"},
      {"0.90\r\n", false, false, "????", "VER?\r\n"},
      {"V1.2\r\n", false, false, "????", "VER?\r\n"},
      {"", false, false, "????", "VER?\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reply);
    Rig r;
    r.w.Version_Check_Click();
    r.Tick();
    r.Reply(row.reply);
    const ViewModel& vm = r.vm;
    EXPECT_EQ(r.g.VersionPending, row.recognised ? 0 : 1);
    EXPECT_EQ(vm.Main_Frame.enabled, row.recognised);
    for (const Control* c :
         {&vm.EMail_Frame, &vm.EMail, &vm.EMail_Pramset, &vm.Txt_Theshold, &vm.Txt_Hysteresis}) {
      EXPECT_EQ(c->enabled, row.email) << c->name;
    }
    EXPECT_EQ(vm.Version_Check.enabled, !row.recognised);
    EXPECT_EQ(vm.Version_Check.text, row.recognised ? "Complete" : "Check");
    EXPECT_EQ(vm.Version_Check.backColor, row.recognised ? kGreen : kSalmon);
    EXPECT_EQ(vm.Label10.text, row.shown);
    EXPECT_EQ(vm.TxtBox_Reply.text, "");
    r.NewlySent();
    r.Tick();
    EXPECT_EQ(r.NewlySent(), row.next[0] ? Texts{row.next} : Texts{});
    EXPECT_EQ(r.timer1.enabled, row.next[0] != 0) << "idle stop";
    EXPECT_TRUE(r.timer1.enabled || vm.start.enabled);
  }
}

TEST(VersionCheck, ClickOpensQueuesWritesHistoryThenStartsTheTimer) {
  WriteFileBytes(kIpHistoryFile, "10.1.1.1,,,,,,\r\n");
  Rig r;
  r.vm.HostIPEdit.text = "127.0.0.1";
  r.vm.HostPTEdit.text = "20001";
  r.w.Version_Check_Click();
  EXPECT_EQ(r.socket.calls, (Texts{"host 127.0.0.1", "port 20001", "connect"}));
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,10.1.1.1,,,,,\r\n");
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), "20001,,,,,,\r\n");
  EXPECT_TRUE(r.timer1.enabled);
  EXPECT_EQ(r.timer1.interval, 200);
  r.Tick(100);  // no reply: asked again on every tick, without end
  EXPECT_EQ(r.socket.Sent(), Texts(100, "VER?\r\n"));
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST(VersionCheck, FailuresLeaveCheckUsable) {
  Rig r;
  r.vm.HostPTEdit.text = "99999";
  r.w.RunHandler([&] { r.w.Version_Check_Click(); });
  EXPECT_EQ(r.messages.shown, Texts{"Port number 99999 is out of range."});
  EXPECT_TRUE(r.socket.calls.empty());
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), "") << "stopped before the history";
  r.vm.HostPTEdit.text = "7777";
  r.socket.connectsImmediately = false;
  r.w.RunHandler([&] { r.w.Version_Check_Click(); });
  r.Tick();
  EXPECT_EQ(r.messages.shown.back(), "Can't connected !");
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
