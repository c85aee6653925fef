#include "sim/Instrument.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zrv::sim {
namespace {

constexpr char kOk[] = "OK\r\n";
constexpr char kIllegal[] = "Illegal Command!!\r\n";

struct Step {
  std::string command;
  std::string reply;
  bool notice = false;
};

struct ScriptCase {
  std::string name;
  std::function<void(InstrumentConfig&)> configure;
  std::vector<Step> steps;
};

void defaults(InstrumentConfig&) {}

class InstrumentScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(InstrumentScriptTest, RepliesExactly) {
  InstrumentConfig config;
  GetParam().configure(config);
  Instrument instrument(config);
  for (const Step& step : GetParam().steps) {
    const InstrumentReply reply = instrument.handle(step.command);
    EXPECT_EQ(reply.text, step.reply) << "command: " << step.command;
    EXPECT_EQ(reply.emailNotice, step.notice) << "command: " << step.command;
  }
}

std::vector<Step> illegalSteps() {
  std::vector<Step> steps;
  for (const char* command : {"",
                              " ",
                              "ver?",
                              "VER",
                              "VER? ",
                              " VER?",
                              "purity?",
                              "EMAIL OFF",
                              "EMAIL",
                              "EMAIL on",
                              "THRESHOLD",
                              "THRESHOLD ",
                              "THRESHOLD  5",
                              "THRESHOLD 100",
                              "THRESHOLD -1",
                              "THRESHOLD -0",
                              "THRESHOLD +5",
                              "THRESHOLD 5a",
                              "THRESHOLD 9999999999",
                              "threshold 5",
                              "HYS",
                              "HYS x",
                              "HYS 1.5",
                              "HYS 100",
                              "HYS? 1",
                              "THRESHOLD?5"}) {
    steps.push_back({command, kIllegal});
  }
  // Rejected settings leave the stored ones alone.
  steps.push_back({"THRESHOLD?", "90\r\n"});
  steps.push_back({"HYS?", "05\r\n"});
  return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, InstrumentScriptTest,
    ::testing::Values(ScriptCase{"QueriesWithDefaults",
                                 defaults,
                                 {{"VER?", "1.20\r\n"},
                                  {"PURITY?", "99.5%\r\n"},
                                  {"TEMP?", "25.3DEG\r\n"},
                                  {"THRESHOLD?", "90\r\n"},
                                  {"HYS?", "05\r\n"},
                                  {"EMAIL?", "OFF\r\n"}}},
                      ScriptCase{"QueriesWithConfiguredValues",
                                 [](InstrumentConfig& c) {
                                   c.firmware = "2.00";
                                   c.temperature = -4;
                                   c.threshold = 7;
                                   c.hysteresis = 0;
                                   c.email = true;
                                   c.purity = PurityProfile::constant(100);
                                 },
                                 {{"VER?", "2.00\r\n"},
                                  {"TEMP?", "-4.0DEG\r\n"},
                                  {"THRESHOLD?", "07\r\n"},
                                  {"HYS?", "00\r\n"},
                                  {"EMAIL?", "ON\r\n"},
                                  {"PURITY?", "100.0%\r\n"}}},
                      ScriptCase{"SettingsAreStored",
                                 defaults,
                                 {{"THRESHOLD 0", kOk},
                                  {"THRESHOLD?", "00\r\n"},
                                  {"THRESHOLD 99", kOk},
                                  {"THRESHOLD?", "99\r\n"},
                                  {"THRESHOLD 05", kOk},
                                  {"THRESHOLD?", "05\r\n"},
                                  {"HYS 12", kOk},
                                  {"HYS?", "12\r\n"},
                                  {"EMAIL ON", kOk},
                                  {"EMAIL?", "ON\r\n"},
                                  {"EMAIL OF", kOk},
                                  {"EMAIL?", "OFF\r\n"}}},
                      ScriptCase{"IllegalCommands", defaults, illegalSteps()},
                      ScriptCase{"NoticeOncePerDipThenRearmedAboveHysteresis",
                                 [](InstrumentConfig& c) {
                                   c.email = true;
                                   c.purity = PurityProfile::list({95, 89.9, 80, 95, 95.1, 89, 90});
                                 },
                                 {{"PURITY?", "95.0%\r\n"},
                                  {"PURITY?", "89.9%\r\n", true},
                                  {"PURITY?", "80.0%\r\n"},
                                  // Exactly threshold + hysteresis does not re-arm.
                                  {"PURITY?", "95.0%\r\n"},
                                  {"PURITY?", "95.1%\r\n"},
                                  {"PURITY?", "89.0%\r\n", true},
                                  {"PURITY?", "90.0%\r\n"}}},
                      ScriptCase{"AtThresholdIsNotBelow",
                                 [](InstrumentConfig& c) {
                                   c.email = true;
                                   c.purity = PurityProfile::constant(90);
                                 },
                                 {{"PURITY?", "90.0%\r\n"}}},
                      ScriptCase{
                          "NoNoticeWhileEmailOffButStillArmed",
                          [](InstrumentConfig& c) { c.purity = PurityProfile::constant(50); },
                          {{"PURITY?", "50.0%\r\n"},
                           {"EMAIL ON", kOk},
                           {"PURITY?", "50.0%\r\n", true},
                           {"PURITY?", "50.0%\r\n"}}},
                      ScriptCase{"ChangedSettingsMoveTheLevels",
                                 [](InstrumentConfig& c) {
                                   c.email = true;
                                   c.purity = PurityProfile::list({85, 85, 85, 85});
                                 },
                                 {{"PURITY?", "85.0%\r\n", true},
                                  {"THRESHOLD 70", kOk},
                                  {"HYS 20", kOk},
                                  // 85 is not above 70 + 20: stays disarmed.
                                  {"PURITY?", "85.0%\r\n"},
                                  {"HYS 14", kOk},
                                  {"PURITY?", "85.0%\r\n"},
                                  {"THRESHOLD 86", kOk},
                                  {"PURITY?", "85.0%\r\n", true}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zrv::sim
