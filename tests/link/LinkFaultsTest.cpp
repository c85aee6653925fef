// Replies that come late, come with company or never come, and a link that
// goes away in the middle of the settings read-out: nothing a reply owes is
// cut off, and nothing is taken for what it is not.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

using Texts = std::vector<std::string>;

// One step of the operator, the timer or the instrument:
// "t" or "tN" ticks, "<text" a reply (CR LF added), "cut" the link is lost,
// "check", "email", "set", "stop", "run N" (Continue, interval N), "single CMD".
void Step(Rig& r, const std::string& step) {
  if (step[0] == 't') {
    r.Tick(step.size() == 1 ? 1 : std::stoi(step.substr(1)));
  } else if (step[0] == '<') {
    r.Reply(step.substr(1) + "\r\n");
  } else if (step == "cut") {
    r.socket.connected = false;
  } else if (step == "check") {
    r.w.Version_Check_Click();
  } else if (step == "email") {
    r.w.EMail_Click();
  } else if (step == "set") {
    r.w.EMail_Pramset_Click();
  } else if (step == "stop") {
    r.w.stop_Click();
  } else if (step.rfind("run ", 0) == 0) {
    r.StartContinue(step.substr(4));
  } else if (step.rfind("single ", 0) == 0) {
    r.StartSingle(step.substr(7));
  } else {
    FAIL() << "unknown step " << step;
  }
}

struct Case {
  const char* name;
  const char* firmware;
  Texts steps;
  Texts wire;  // sends ("PURITY?") and closes ("|") during the steps
  bool timerOn;
  std::function<void(Rig&)> also = nullptr;
};

Texts Wire(const Rig& r, std::size_t from) {
  Texts wire;
  for (std::size_t i = from; i < r.socket.calls.size(); ++i) {
    const std::string& call = r.socket.calls[i];
    if (call == "close") wire.push_back("|");
    if (call.rfind("send ", 0) == 0) {
      std::string sent = call.substr(5);
      while (sent.size() >= 2 && sent.substr(sent.size() - 2) == "\r\n")
        sent.resize(sent.size() - 2);
      wire.push_back(sent);
    }
  }
  return wire;
}

int LogLines() {
  const std::string log = ReadFileBytes("zrv-02.log");
  int lines = 0;
  for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

class LinkFaults : public testing::TestWithParam<Case> {};

TEST_P(LinkFaults, Script) {
  const Case& c = GetParam();
  Rig r;
  r.AcceptVersion(std::string(c.firmware) + "\r\n");
  const std::size_t from = r.socket.calls.size();
  for (const std::string& step : c.steps) Step(r, step);
  EXPECT_EQ(Wire(r, from), c.wire);
  EXPECT_EQ(r.timer1.enabled, c.timerOn);
  if (c.also) c.also(r);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LinkFaults,
    testing::Values(
        // A reply owed keeps the link open until it comes, or a time-out (25 ticks) passes.
        Case{"lateSingleReply",
             "1.10",
             {"single HYS?", "t4", "<07", "t"},
             {"HYS?", "|"},
             false,
             [](Rig& r) { EXPECT_NE(r.vm.TxtBox_Reply.text.find(" 07\r\n"), std::string::npos); }},
        Case{"unansweredSingle", "1.10", {"single X", "t25"}, {"X"}, true},
        Case{"unansweredSingleTimesOut", "1.10", {"single X", "t26"}, {"X", "|"}, false},
        Case{"noticeIsNoAnswer", "1.10", {"single X", "t", "<E-MAIL ALARM", "t"}, {"X"}, true},
        Case{"setOwesTwoReplies",
             "1.10",
             {"set", "t", "<OK", "t", "<OK", "t"},
             {"THRESHOLD 0\r\nHYS 0", "|"},
             false},
        Case{"lateTempLongInterval",
             "1.10",
             {"run 10", "t", "<99.5%", "t", "t3", "<25.3DEG", "t"},
             {"PURITY?", "TEMP?", "|"},
             true,
             [](Rig&) { EXPECT_EQ(LogLines(), 1); }},
        Case{"lastPairAfterStop",
             "1.10",
             {"run 1", "t", "<99.5%", "stop", "t", "t2", "<25.3DEG", "t"},
             {"PURITY?", "TEMP?", "|"},
             false,
             [](Rig&) { EXPECT_EQ(LogLines(), 1); }},
        // A click while the read-out's e-mail reply is due: the button shows
        // what the click sent, whatever the reply said meanwhile.
        Case{"emailButtonShowsWhatWasSent",
             "1.20",
             {"<90", "t", "<05", "t", "email", "<ON", "t", "<OK", "t"},
             {"HYS?", "EMAIL?", "EMAIL ON", "|"},
             false,
             [](Rig& r) { EXPECT_EQ(r.vm.EMail.text, "Ready"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The read-out (THRESHOLD? already sent) cut at its later queries, and
// waiting in vain for its last reply.
struct CutCase {
  const char* name;
  Texts beforeCut;  // steps after the version reply, before the link goes
  Texts wire;       // what the read-out sent before it gave up
  int ticksToGiveUp;
};

class CutReadout : public testing::TestWithParam<CutCase> {};

TEST_P(CutReadout, LeaksIntoNothingAndCheckReadsAgain) {
  Rig r;
  r.AcceptVersion("1.20\r\n");
  const std::size_t from = r.socket.calls.size();
  for (const std::string& step : GetParam().beforeCut) Step(r, step);
  Step(r, "cut");
  r.Tick(GetParam().ticksToGiveUp);
  EXPECT_EQ(r.g.ReadoutStep, 0);
  EXPECT_TRUE(r.vm.Version_Check.enabled);
  EXPECT_EQ(Wire(r, from), GetParam().wire);

  // The next run's replies are measurements, and its first tick asks for one.
  r.socket.connected = true;
  r.StartContinue("1");
  const std::size_t run = r.socket.calls.size();
  for (const char* step : {"t", "<99.5%", "stop", "t", "<25.3DEG", "t"}) Step(r, step);
  EXPECT_EQ(Wire(r, run), (Texts{"PURITY?", "TEMP?", "|"}));
  EXPECT_EQ(LogLines(), 1);
  EXPECT_EQ(r.vm.EMail.text, "not Ready");

  // Check reads the settings again, and is done with once they are in.
  const std::size_t again = r.socket.calls.size();
  for (const char* step : {"check", "t", "<95", "t", "<07", "t", "<ON", "t"}) Step(r, step);
  EXPECT_EQ(Wire(r, again), (Texts{"THRESHOLD?", "HYS?", "EMAIL?", "|"}));
  EXPECT_EQ(r.vm.Txt_Theshold.text, "95");
  EXPECT_EQ(r.vm.EMail.text, "Ready");
  EXPECT_FALSE(r.vm.Version_Check.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Readout, CutReadout,
    testing::Values(CutCase{"atHys", {"<90"}, {"|"}, 1},
                    CutCase{"atEmail", {"<90", "t", "<05"}, {"HYS?", "|"}, 1},
                    CutCase{
                        "emailReplyNeverComes", {"<90", "t", "<05", "t"}, {"HYS?", "EMAIL?"}, 25}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zrv::test
