// Read-out of the instrument's settings, the e-mail switch and the
// threshold/hysteresis set: tick by tick, with the exact bytes sent.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

// Check on firmware 1.20, answered up to the "EMAIL?" query (read-out step 4).
void ReadOutUpToEmail(Rig& r, const std::string& threshold = "90\r\n") {
  r.AcceptVersion("1.20\r\n");  // the tick after the reply sends THRESHOLD?
  r.Reply(threshold);
  r.Tick();
  r.Reply("5\r\n");
  r.Tick();
}

TEST(SettingsReadout, ThreeQueriesOnThreeTicksThenTheLinkCloses) {
  Rig r;
  ReadOutUpToEmail(r, "95\r\n");
  EXPECT_EQ(r.socket.Sent(), (Texts{"VER?\r\n", "THRESHOLD?\r\n", "HYS?\r\n", "EMAIL?\r\n"}));
  r.Tick(50);  // waiting for the e-mail state: nothing sent, Timer1 runs on
  EXPECT_EQ(r.socket.Sent().size(), 4u);
  EXPECT_TRUE(r.timer1.enabled);
  r.Reply("ON\r\n");
  EXPECT_EQ(r.vm.Txt_Theshold.text + "|" + r.vm.Txt_Hysteresis.text, "95|5");
  EXPECT_EQ(r.g.ReadoutStep, 0);
  r.Tick();
  EXPECT_FALSE(r.timer1.enabled);
  EXPECT_EQ(r.socket.calls.back(), "close");
  EXPECT_EQ(r.vm.TxtBox_Reply.text, "") << "read-out replies make no record";
}

TEST(SettingsReadout, ValuesAndStateAreShownAsReceived) {
  for (const auto& [reply, shown] : {std::pair{"100\r\n", "10"},
                                     {"9", "9"},
                                     {"", ""},
                                     {"\r\n", ""},
                                     {"ab\r\n", "ab"},
                                     {"7\n", "7"}}) {
    Rig r;
    ReadOutUpToEmail(r, reply);
    EXPECT_EQ(r.vm.Txt_Theshold.text, shown) << reply;
  }
  for (const auto& [reply, on] : {std::pair{"ON\r\n", true},
                                  {"on\r\n", false},
                                  {"ON", false},
                                  {"ON \r\n", false},
                                  {"ON\r\nX", false},
                                  {"OFF\r\n", false}}) {
    Rig r;
    r.g.EmailEnabled = on ? 0 : 1;
    ReadOutUpToEmail(r);
    r.Reply(reply);
    EXPECT_EQ(r.g.EmailEnabled, on ? 1 : 0) << reply;
    EXPECT_EQ(r.vm.EMail.text, on ? "Ready" : "not Ready") << reply;
    EXPECT_EQ(r.vm.EMail.backColor, on ? kGreen : kButtonFace) << reply;
  }
}

TEST(SettingsReadout, ALateReplyLandsInTheNextField) {
  Rig r;
  r.AcceptVersion("1.20\r\n");  // THRESHOLD? sent, step 2
  r.Tick();                     // no reply yet: THRESHOLD? again, step 3
  EXPECT_EQ(r.socket.Sent().back(), "THRESHOLD?\r\n");
  r.Reply("90\r\n");
  EXPECT_EQ(r.vm.Txt_Theshold.text + "|" + r.vm.Txt_Hysteresis.text, "0|90");
  EXPECT_EQ(r.g.PendingCommand, "EMAIL?\r\n");
}

TEST(EmailSwitch, EachClickSendsTheOtherStateAndOnlyASentOneFlipsTheButton) {
  Rig r;
  r.AcceptVersion();
  r.NewlySent();
  for (const auto& [connects, command, caption] : {std::tuple{false, "", "not Ready"},
                                                   {true, "EMAIL ON\r\n", "Ready"},
                                                   {true, "EMAIL OF\r\n", "not Ready"},
                                                   {true, "EMAIL ON\r\n", "Ready"}}) {
    r.socket.connectsImmediately = connects;
    r.messages.shown.clear();
    const std::string before = r.vm.EMail.text;
    r.w.EMail_Click();
    EXPECT_EQ(r.vm.EMail.text, before) << "a click alone changes nothing";
    r.Tick();
    EXPECT_EQ(r.NewlySent(), command[0] ? Texts{command} : Texts{});
    EXPECT_EQ(r.messages.shown, command[0] ? Texts{} : Texts{"Can't connected !"});
    EXPECT_EQ(r.vm.EMail.text, caption);
    EXPECT_EQ(r.g.EmailSwitchPending, 0);
    r.Tick();
    EXPECT_FALSE(r.timer1.enabled);
  }
}

TEST(ParamSet, BothTextsGoOutUnchangedInOneSend) {
  for (const auto& [threshold, hysteresis, wire] :
       {std::tuple{"95", "2", "THRESHOLD 95\r\nHYS 2\r\n"},
        {"", "", "THRESHOLD \r\nHYS \r\n"},
        {"9.5ab", " 1 ", "THRESHOLD 9.5ab\r\nHYS  1 \r\n"}}) {
    Rig r;
    r.AcceptVersion();
    r.vm.Txt_Theshold.text = threshold;
    r.vm.Txt_Hysteresis.text = hysteresis;
    r.NewlySent();
    r.w.EMail_Pramset_Click();
    r.Tick();
    EXPECT_EQ(r.NewlySent(), Texts{wire});
    EXPECT_EQ(r.g.ParamSetPending, 0);
    r.Tick();
    EXPECT_FALSE(r.timer1.enabled);
  }
}

// A run, a waiting command, or a read-out query still to be sent would lose
// its command in the single slot: clicks are ignored then.
TEST(SettingsClicks, IgnoredWhileAnotherCommandWaits) {
  const std::function<void(Rig&)> busy[] = {
      [](Rig& r) { r.StartContinue("10"); },
      [](Rig& r) { r.StartSingle("HYS?"); },
      [](Rig& r) { r.w.EMail_Click(); },
      [](Rig& r) { r.w.EMail_Pramset_Click(); },
      [](Rig& r) { r.g.ReadoutStep = 1, r.g.PendingCommand = "THRESHOLD?\r\n"; },
      [](Rig& r) { r.g.ReadoutStep = 3, r.g.PendingCommand = "EMAIL?\r\n"; },
  };
  for (const auto& prepare : busy) {
    for (auto click : {&SvZRV_02::EMail_Click, &SvZRV_02::EMail_Pramset_Click}) {
      Rig r;
      r.AcceptVersion();
      prepare(r);
      const SvGlobal01B before = r.g;
      const std::size_t calls = r.socket.calls.size();
      (r.w.*click)();
      EXPECT_EQ(r.g.PendingCommand, before.PendingCommand);
      EXPECT_EQ(r.socket.calls.size(), calls) << "no connect";
      EXPECT_EQ(r.g.EmailSwitchPending, before.EmailSwitchPending);
      EXPECT_EQ(r.g.ParamSetPending, before.ParamSetPending);
    }
  }
}

TEST(SettingsClicks, AClickAtReadoutStepFourIsServedAfterTheReadout) {
  Rig r;
  ReadOutUpToEmail(r);
  r.w.EMail_Click();
  r.Reply("OFF\r\n");
  r.NewlySent();
  r.Tick();
  EXPECT_EQ(r.NewlySent(), Texts{"EMAIL ON\r\n"});
  EXPECT_EQ(r.vm.EMail.text, "Ready");
}

TEST(SettingsClicks, APortErrorQueuesNothing) {
  Rig r;
  r.AcceptVersion();
  r.vm.HostPTEdit.text = "40000";
  r.w.RunHandler([&] { r.w.EMail_Click(); });
  r.w.RunHandler([&] { r.w.EMail_Pramset_Click(); });
  EXPECT_EQ(r.messages.shown.size(), 2u);
  EXPECT_EQ(std::tuple(r.g.EmailSwitchPending, r.g.ParamSetPending), std::tuple(0, 0));
  r.vm.HostPTEdit.text = "7777";
  r.w.EMail_Click();
  EXPECT_EQ(r.g.EmailSwitchPending, 1) << "a corrected click is not refused";
}

}  // namespace
}  // namespace zrv::test
