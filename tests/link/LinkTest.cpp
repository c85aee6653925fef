// Opening the link, starting a run, handing commands to the socket, the halt
// after a failure, and replies that come late, come with company or never come.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Commands.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

TEST(Link, Scripts) {
  std::filesystem::create_directory("a-directory");
  WriteFileBytes("zrv-02.log", "old\r\n");
  ExpectRuns(
      "check t <1.10 t",
      {
          // A wrong entry: one message, the link closed again, the old log kept.
          {"Txt_Interval= start t ?start ?log",
           "connect close !Wrong Parameter ! start=start log=old\r\n"},
          {"Txt_Interval=-5 start t", "connect close !Wrong Parameter !"},
          {"Txt_Save_File=a-directory start t ?log",
           "connect close !Wrong Parameter ! log=old\r\n"},
          // A link that drops in mid-pair costs that pair: the next tick starts
          // it again on a new connection.
          {"Txt_Interval=1 start t <99.5% drop t t <99.5% t <25.3DEG ?log",
           "connect @1 PURITY? @2 close connect @3 PURITY? @4 TEMP? log=T 99.5 25.3 %&DEG\r\n"},
          // Any other failed send is reported at once, and the halt shows the link closed.
          {"offline single t ?start ?TCP_Condition.color",
           "connect @1 close !Can't connected ! start=start TCP_Condition.color=white"},
          // stop only raises the request; the mode buttons switch their fields.
          {"single stop ?start t <x t ?start",
           "connect start=start off @1 VER? @2 close start=start"},
          // A Single command goes out once, exactly as typed; the link is let
          // go at the next tick, whether its reply has come or not.
          {"Txt_Command=~EMAIL~OF~ single t <07 t ?TxtBox_Reply",
           "connect @1  EMAIL OF  @2 close TxtBox_Reply=T 07\r\n"},
          {"single t t ?start", "connect @1 VER? @2 close start=start"},
          // The instrument closing the link in mid-pair costs that pair, not a
          // time-out: it is asked again at once on a new connection. Five in a
          // row end the run.
          {"Txt_Interval=1 start t closed t <99.5% t <25.3DEG ?log",
           "connect @1 PURITY? close close connect @2 PURITY? @3 TEMP? log=T 99.5 25.3 %&DEG\r\n"},
          {"Txt_Interval=1 start t closed t closed t closed t closed t closed ?start",
           "connect @1 PURITY? close close connect @2 PURITY? close close connect @3 PURITY? close "
           "close connect @4 PURITY? close close connect @5 PURITY? close !Can't connected ! "
           "start=start"},
          {"Single_mode ?Txt_Command ?Txt_Alarm_level ?Drive1 Continue_mode ?Txt_Command "
           "?Txt_Save_File",
           "Txt_Command=VER? Txt_Alarm_level=80 off Drive1=/ off Txt_Command=VER? off "
           "Txt_Save_File=zrv-02.log"},
      });
}

// One command per start: a pasted line break or an over-long text is refused.
TEST(Link, ASingleCommandIsOneLineOfAtMostTheLongestLength) {
  const std::string longest(kMaxCommandLength, 'x');
  for (const std::string& command :
       Texts{"PURITY?\r\nPURITY?", "TEMP?\n", longest + "x", longest}) {
    Rig r;
    r.Run("check t <1.10 t");
    r.vm.Txt_Command.text = command;
    EXPECT_EQ(r.Run("single t"),
              command == longest ? "connect @1 " + longest : "connect close !Wrong Parameter !");
  }
}

// Each box says what its text leaves out: the entry, the link, the file.
TEST(Link, BoxesCarryTheirDetail) {
  Rig r;
  r.Run(
      "HostIPEdit=127.0.0.1 check t <1.10 t Txt_Interval=x start Txt_Interval=1 start t*130 "
      "Dir1=/nowhere start");
  EXPECT_EQ(r.messages.details,
            (Texts{"Interval \"x\": Type mismatch",
                   "127.0.0.1:7777: no reply within 5 s, 5 times in a row",
                   "Can't create /nowhere/zrv-02.log: No such file or directory"}));
}

TEST(Link, ThePurityQueryIsRetriedSilentlyUntilTheHundredthFailure) {
  for (const bool comesUp : {true, false}) {
    Rig r;
    r.Run("check t <1.10 t offline start t*99");
    // Socket calls: host, port, connect, VER? and close for the check; host, port and connect
    // for the start; then a close and a connect again after each of the 99 failed sends.
    EXPECT_EQ(std::tuple(r.socket.calls.size(), r.g.SendRetries, r.g.TickCount, r.timer1.interval),
              std::tuple(5u + 3u + 99u * 2, 99, 0, 200));
    r.socket.connected = comesUp;
    EXPECT_EQ(r.Run("t <99.5% t email t"),
              comesUp ? "@1 PURITY? @2 TEMP?"
                      : "@1 close close !Can't connected ! connect @2 close "
                        "!Can't connected !");
    EXPECT_EQ(r.g.SendRetries, 0) << "counted afresh after a send and after the halt";
  }
}

// The read-out (THRESHOLD? already sent) cut at each of its later queries:
// the next run's replies are measurements, and Check reads the settings anew.
TEST(Link, ACutReadoutLeaksIntoNothingAndCheckReadsAgain) {
  const std::pair<const char*, const char*> rows[] = {
      {"<90 drop t", "@1 close !Can't connected !"},
      {"<90 t <05 drop t", "@1 HYS? @2 close !Can't connected !"},
      {"<90 t <05 t drop t*24 ?Version_Check t", "@1 HYS? @2 EMAIL? Version_Check=Complete off"},
  };
  for (const auto& [cut, wire] : rows) {
    Rig r;
    r.Run("check t <1.20 t");
    EXPECT_EQ(r.Run(cut), wire);
    EXPECT_EQ(r.Run("?Version_Check start t <99.5% stop t <25.3DEG t ?EMail ?log check t <95 t "
                    "<07 t <ON t ?Txt_Theshold ?EMail ?Version_Check"),
              "Version_Check=Complete connect @1 PURITY? @2 TEMP? @3 close EMail=not Ready log=T "
              "99.5 25.3 %&DEG\r\n connect @4 THRESHOLD? @5 HYS? @6 EMAIL? @7 close "
              "Txt_Theshold=95 EMail=Ready Version_Check=Complete off")
        << cut;
  }
}

}  // namespace zrv::test
