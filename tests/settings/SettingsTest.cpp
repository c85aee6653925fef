// Read-out of the instrument's settings, the e-mail switch and the
// threshold/hysteresis set: tick by tick, with the exact bytes sent.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

using Texts = std::vector<std::string>;

TEST(SettingsReadout, ThreeQueriesOnThreeTicksThenTheLinkCloses) {
  Rig r;
  r.w.Version_Check_Click();
  r.Tick();
  r.Reply("1.20\r\n");
  r.NewlySent();
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"THRESHOLD?\r\n"});
  r.Reply("95\r\n");
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"HYS?\r\n"});
  r.Reply("5\r\n");
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"EMAIL?\r\n"});
  r.Reply("ON\r\n");
  EXPECT_EQ(r.vm.Txt_Theshold.text, "95");
  EXPECT_EQ(r.vm.Txt_Hysteresis.text, "5") << "no CR carried into the box";
  EXPECT_EQ(r.vm.EMail.text, "Ready");
  EXPECT_EQ(r.vm.EMail.backColor, kGreen);
  EXPECT_EQ(r.g.EmailEnabled, 1);
  EXPECT_EQ(r.g.ReadoutStep, 0);
  r.Tick();
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.socket.calls.back(), "close");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "") << "read-out replies make no record";
}

TEST(SettingsReadout, ValuesShownAsReceived) {
  struct Case {
    const char* reply;
    const char* shown;
  };
  for (const Case& c : {Case{"100\r\n", "10"}, Case{"9", "9"}, Case{"", ""}, Case{"\r\n", ""},
                        Case{"ab\r\n", "ab"}, Case{"7\n", "7"}}) {
    Rig r;
    r.AcceptVersion("1.20\r\n");  // the tick after the reply sends THRESHOLD?
    r.Reply(c.reply);
    EXPECT_EQ(r.vm.Txt_Theshold.text, c.shown) << c.reply;
  }
}

TEST(SettingsReadout, OnlyExactlyOnWithLineEndMeansOn) {
  struct Case {
    const char* reply;
    int enabled;
  };
  for (const Case& c : {Case{"ON\r\n", 1}, Case{"on\r\n", 0}, Case{"ON", 0}, Case{"ON \r\n", 0},
                        Case{"ON\r\nX", 0}, Case{"OFF\r\n", 0}}) {
    Rig r;
    r.AcceptVersion("1.20\r\n");
    r.g.EmailEnabled = 1 - c.enabled;
    r.Reply("90\r\n");
    r.Tick();
    r.Reply("05\r\n");
    r.Tick();
    r.Reply(c.reply);
    EXPECT_EQ(r.g.EmailEnabled, c.enabled) << c.reply;
    EXPECT_EQ(r.vm.EMail.text, c.enabled ? "Ready" : "not Ready") << c.reply;
    EXPECT_EQ(r.vm.EMail.backColor, c.enabled ? kGreen : kButtonFace) << c.reply;
  }
}

TEST(SettingsReadout, ALateReplyLandsInTheNextField) {
  Rig r;
  r.AcceptVersion("1.20\r\n");  // THRESHOLD? sent, step 2
  r.Tick();                     // no reply yet: THRESHOLD? again, step 3
  EXPECT_EQ(r.socket.Sent().back(), "THRESHOLD?\r\n");
  r.Reply("90\r\n");  // the late threshold reply is read as hysteresis
  EXPECT_EQ(r.vm.Txt_Theshold.text, "0");
  EXPECT_EQ(r.vm.Txt_Hysteresis.text, "90");
  EXPECT_EQ(r.g.PendingCommand, "EMAIL?\r\n");
}

// The switch, from either state: the command on the wire and the button after.
TEST(EmailSwitch, EachClickSendsTheOtherStateAndTheTickFlipsTheButton) {
  Rig r;
  r.AcceptVersion("1.10\r\n");
  r.NewlySent();
  for (const auto& [command, caption] :
       {std::pair{"EMAIL ON\r\n", "Ready"}, std::pair{"EMAIL OF\r\n", "not Ready"},
        std::pair{"EMAIL ON\r\n", "Ready"}}) {
    r.w.EMail_Click();
    EXPECT_EQ(r.vm.EMail.text, caption == std::string("Ready") ? "not Ready" : "Ready")
        << "a click alone changes nothing";
    r.Tick();
    EXPECT_EQ(r.NewlySent(), Texts{command});
    EXPECT_EQ(r.vm.EMail.text, caption);
    r.Reply("OK\r\n");
    r.Tick();
    EXPECT_FALSE(r.timer1.enabled);
  }
}

TEST(EmailSwitch, AFailedSendLeavesTheButtonAsItWas) {
  Rig r;
  r.AcceptVersion("1.10\r\n");
  r.socket.connectsImmediately = false;
  r.w.EMail_Click();
  r.Tick();
  EXPECT_EQ(r.messages.shown, Texts{"Can't connected !"});
  EXPECT_EQ(r.vm.EMail.text, "not Ready");
  EXPECT_EQ(r.g.EmailEnabled, 0);
  EXPECT_EQ(r.g.EmailSwitchPending, 0);
  r.socket.connectsImmediately = true;
  r.w.EMail_Click();
  r.Tick();
  EXPECT_EQ(r.socket.Sent().back(), "EMAIL ON\r\n");
  EXPECT_EQ(r.vm.EMail.text, "Ready");
}

TEST(ParamSet, BothTextsGoOutUnchangedInOneSend) {
  struct Case {
    const char* threshold;
    const char* hysteresis;
    const char* wire;
  };
  for (const Case& c :
       {Case{"95", "2", "THRESHOLD 95\r\nHYS 2\r\n"}, Case{"", "", "THRESHOLD \r\nHYS \r\n"},
        Case{"9.5ab", " 1 ", "THRESHOLD 9.5ab\r\nHYS  1 \r\n"}}) {
    Rig r;
    r.AcceptVersion("1.10\r\n");
    r.vm.Txt_Theshold.text = c.threshold;
    r.vm.Txt_Hysteresis.text = c.hysteresis;
    r.NewlySent();
    r.w.EMail_Pramset_Click();
    r.Tick();
    EXPECT_EQ(r.NewlySent(), Texts{c.wire});
    EXPECT_EQ(r.g.ParamSetPending, 0);
    r.Reply("OK\r\nOK\r\n");  // two replies as one arrival still count as one
    r.Tick(24);
    EXPECT_TRUE(r.timer1.enabled) << "the second reply is still due";
    r.Tick();
    EXPECT_FALSE(r.timer1.enabled);
  }
}

// Clicks that must be ignored: a run, a waiting command, or a read-out query
// still to be sent would otherwise lose its command in the single slot.
TEST(SettingsClicks, IgnoredWhileAnotherCommandWaits) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> busy;
  };
  const Case cases[] = {
      {"Continue run", [](Rig& r) { r.StartContinue("10"); }},
      {"Single command waiting", [](Rig& r) { r.StartSingle("HYS?"); }},
      {"switch waiting", [](Rig& r) { r.w.EMail_Click(); }},
      {"set waiting", [](Rig& r) { r.w.EMail_Pramset_Click(); }},
      {"read-out queued",
       [](Rig& r) {
         r.g.ReadoutStep = 1;
         r.g.PendingCommand = "THRESHOLD?\r\n";
       }},
      {"read-out sending",
       [](Rig& r) {
         r.g.ReadoutStep = 3;
         r.g.PendingCommand = "EMAIL?\r\n";
       }},
  };
  for (const Case& c : cases) {
    for (auto click : {&SvZRV_02::EMail_Click, &SvZRV_02::EMail_Pramset_Click}) {
      Rig r;
      r.AcceptVersion("1.10\r\n");
      c.busy(r);
      const std::string pending = r.g.PendingCommand;
      const std::size_t calls = r.socket.calls.size();
      const SvGlobal01B before = r.g;
      (r.w.*click)();
      EXPECT_EQ(r.g.PendingCommand, pending) << c.name;
      EXPECT_EQ(r.socket.calls.size(), calls) << c.name << ": no connect";
      EXPECT_EQ(r.g.EmailSwitchPending, before.EmailSwitchPending) << c.name;
      EXPECT_EQ(r.g.ParamSetPending, before.ParamSetPending) << c.name;
    }
  }
}

TEST(SettingsClicks, AClickAtReadoutStepFourIsServedAfterTheReadout) {
  Rig r;
  r.AcceptVersion("1.20\r\n");
  r.Reply("90\r\n");
  r.Tick();
  r.Reply("05\r\n");
  r.Tick();  // EMAIL? sent, step 4
  r.w.EMail_Click();
  r.Reply("OFF\r\n");
  r.NewlySent();
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"EMAIL ON\r\n"});
  EXPECT_EQ(r.vm.EMail.text, "Ready");
}

TEST(SettingsClicks, APortErrorQueuesNothing) {
  Rig r;
  r.AcceptVersion("1.10\r\n");
  r.vm.HostPTEdit.text = "40000";
  r.w.RunHandler([&] { r.w.EMail_Click(); });
  r.w.RunHandler([&] { r.w.EMail_Pramset_Click(); });
  EXPECT_EQ(r.messages.shown.size(), 2u);
  EXPECT_EQ(r.g.EmailSwitchPending, 0);
  EXPECT_EQ(r.g.ParamSetPending, 0);
  r.vm.HostPTEdit.text = "7777";
  r.w.EMail_Click();
  EXPECT_EQ(r.g.EmailSwitchPending, 1) << "a corrected click is not refused";
}

}  // namespace
}  // namespace zrv::test
