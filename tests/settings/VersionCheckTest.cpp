// Check -> tick -> "VER?" -> reply -> gating of the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

TEST(VersionCheck, TheFirmwareDecidesWhatBecomesUsable) {
  const std::string on = " Main_Frame= EMail=not Ready Version_Check=Complete off Label10=";
  const std::string v10 = " Main_Frame= EMail=not Ready off Version_Check=Complete off Label10=";
  const std::string off =
      " Main_Frame= off EMail=not Ready off Version_Check=Check Label10=???? @2 VER?";
  // clang-format off
  const std::pair<const char*, std::string> rows[] = {
      {"<1.00", v10 + "1.00 @2 close"},     {"<1", v10 + "1\r\n @2 close"},
      {"<1.10", on + "1.10 @2 close"},      {"<1.1", on + "1.1\r @2 close"},
      {"<1.20", on + "1.20 @2 THRESHOLD?"}, {"<2.00", on + "2.00 @2 THRESHOLD?"},
      {"<1.2a", on + "1.2a @2 THRESHOLD?"}, {"<1.05", off}, {"<0.90", off}, {"<V1.2", off},
      {"<<", off}};
  // clang-format on
  for (const auto& [reply, shown] : rows) {
    Rig r;
    EXPECT_EQ(
        r.Run(std::string("?Version_Check.color check t ") + reply +
              " ?Main_Frame ?EMail ?Version_Check ?Label10 t ?TxtBox_Reply ?Version_Check.color"),
        "Version_Check.color=salmon connect @1 VER?" + shown +
            " TxtBox_Reply= Version_Check.color=" + (shown == off ? "salmon" : "green"));
  }
}

TEST(VersionCheck, FailuresLeaveCheckUsable) {
  ExpectRuns(
      "", {{"HostPTEdit=99999 check HostPTEdit=7777 offline check t ?Version_Check ?Main_Frame",
            "!Port number 99999 is out of range. connect @1 close !Can't connected ! "
            "Version_Check=Check Main_Frame= off"},
           // The second answer to a version query sent twice is no setting.
           {"check t t <1.20 t <1.20 <95 t <05 t <ON t ?Txt_Theshold",
            "connect @1 VER? @2 VER? @3 THRESHOLD? @4 HYS? @5 EMAIL? @6 close Txt_Theshold=95"}});
  // Neither history can be saved: one box says so, the old files stay whole, the check goes on.
  WriteFileBytes(kIpHistoryFile, "A,,,,,,\r\n");
  WriteFileBytes(kPortHistoryFile, "7777,,,,,,\r\n");
  for (const char* file : {kIpHistoryFile, kPortHistoryFile})
    std::filesystem::create_directory(std::string(file) + ".tmp");
  EXPECT_EQ(Rig().Run("HostIPEdit=C check t <1.10"),
            "connect !Can't write ZRV-02_IPAddressList.Log !\nCan't write ZRV-02_PortList.Log ! "
            "@1 VER?");
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile) + ReadFileBytes(kPortHistoryFile),
            "A,,,,,,\r\n7777,,,,,,\r\n");
}

}  // namespace zrv::test
