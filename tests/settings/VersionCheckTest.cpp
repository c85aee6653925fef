// Check -> tick -> "VER?" -> reply -> gating of the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(VersionCheck, TheFirmwareDecidesWhatBecomesUsable) {
  const std::string off = " Main_Frame= off EMail=not Ready off Version_Check=Check Label10=????";
  const std::pair<const char*, std::string> rows[] = {
      {"<1.00",
       " Main_Frame= EMail=not Ready off Version_Check=Complete off Label10=1.00 @2 close"},
      {"<1.10", " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=1.10 @2 close"},
      {"<1.20",
       " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=1.20 @2 THRESHOLD?"},
      {"<2.00",
       " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=2.00 @2 THRESHOLD?"},
      {"<1.2a",
       " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=1.2a @2 THRESHOLD?"},
      {"<1", " Main_Frame= EMail=not Ready off Version_Check=Complete off Label10=1\r\n @2 close"},
      {"<1.1", " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=1.1\r @2 close"},
      {"<1.05", off + " @2 VER?"},
      {"<0.90", off + " @2 VER?"},
      {"<V1.2", off + " @2 VER?"},
      {"<<", off + " @2 VER?"},
  };
  for (const auto& [reply, shown] : rows) {
    Rig r;
    EXPECT_EQ(
        r.Run(std::string("check t ") + reply + " ?Main_Frame ?EMail ?Version_Check ?Label10 t"),
        "connect @1 VER?" + shown);
    EXPECT_EQ(r.vm.TxtBox_Reply.text, "");
    EXPECT_TRUE(r.timer1.enabled || r.vm.start.enabled);
  }
}

TEST(VersionCheck, ClickOpensWritesTheHistoryAndAsksOnEveryTickUntilAnswered) {
  WriteFileBytes(kIpHistoryFile, "10.1.1.1,,,,,,\r\n");
  Rig r;
  r.vm.HostIPEdit.text = "127.0.0.1";
  r.vm.HostPTEdit.text = "20001";
  r.w.Version_Check_Click();
  EXPECT_EQ(r.socket.calls, (Texts{"host 127.0.0.1", "port 20001", "connect"}));
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,10.1.1.1,,,,,\r\n");
  EXPECT_EQ(ReadFileBytes(kPortHistoryFile), "20001,,,,,,\r\n");
  EXPECT_EQ(r.timer1.interval, 200);
  r.Tick(100);
  EXPECT_EQ(r.socket.Sent(), Texts(100, "VER?\r\n"));
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST(VersionCheck, FailuresLeaveCheckUsable) {
  Rig r;
  EXPECT_EQ(
      r.Run("HostPTEdit=99999 check HostPTEdit=7777 offline check t ?Version_Check ?Main_Frame"),
      "!Port number 99999 is out of range. connect @1 close !Can't connected ! "
      "Version_Check=Check Main_Frame= off");
  std::filesystem::create_directory(std::string(kPortHistoryFile) + ".tmp");
  EXPECT_EQ(Rig().Run("check t <1.10"), "connect !Can't write ZRV-02_PortList.Log ! @1 VER?");
}

}  // namespace
}  // namespace zrv::test
