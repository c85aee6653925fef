#include "sim/Instrument.h"

#include <gtest/gtest.h>

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
  InstrumentConfig config;
  std::vector<Step> steps;
};

class InstrumentScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(InstrumentScriptTest, RepliesExactly) {
  Instrument instrument(GetParam().config);
  for (const Step& step : GetParam().steps) {
    const InstrumentReply reply = instrument.handle(step.command);
    EXPECT_EQ(reply.text, step.reply) << "command: " << step.command;
    EXPECT_EQ(reply.emailNotice, step.notice) << "command: " << step.command;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, InstrumentScriptTest,
    ::testing::Values(ScriptCase{"Queries",
                                 {},
                                 {{"VER?", "1.20\r\n"},
                                  {"PURITY?", "99.5%\r\n"},
                                  {"TEMP?", "25.3DEG\r\n"},
                                  {"THRESHOLD?", "90\r\n"},
                                  {"HYS?", "05\r\n"},
                                  {"EMAIL?", "OFF\r\n"}}},
                      ScriptCase{"SettingsAndIllegalForms",
                                 {},
                                 {{"THRESHOLD 05", kOk},
                                  {"THRESHOLD?", "05\r\n"},
                                  {"HYS 12", kOk},
                                  {"HYS?", "12\r\n"},
                                  {"EMAIL ON", kOk},
                                  {"EMAIL?", "ON\r\n"},
                                  {"EMAIL OF", kOk},
                                  {"EMAIL?", "OFF\r\n"},
                                  {"ver?", kIllegal},
                                  {"EMAIL OFF", kIllegal},
                                  {"THRESHOLD 100", kIllegal},
                                  {"THRESHOLD?", "05\r\n"}}},
                      // Levels come from the commanded settings: below 80 fires, above 90 re-arms.
                      ScriptCase{
                          "EmailNoticeOncePerDipThenRearmed",
                          {.purity = PurityProfile::list({70, 70, 70, 90, 90.1, 80, 79.9})},
                          {{"THRESHOLD 80", kOk},
                           {"HYS 10", kOk},
                           {"PURITY?", "70.0%\r\n"},  // e-mail off: stays armed
                           {"EMAIL ON", kOk},
                           {"PURITY?", "70.0%\r\n", true},
                           {"PURITY?", "70.0%\r\n"},
                           {"PURITY?", "90.0%\r\n"},  // exactly threshold + hysteresis: no re-arm
                           {"PURITY?", "90.1%\r\n"},
                           {"PURITY?", "80.0%\r\n"},  // at the threshold is not below it
                           {"PURITY?", "79.9%\r\n", true}}}),
    [](const auto& info) { return info.param.name; });

struct ProfileCase {
  std::string name;
  PurityProfile profile;
  std::vector<std::string> served;
};

class PurityProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(PurityProfileTest, ServesFormattedValuesInOrder) {
  PurityProfile profile = GetParam().profile;
  std::vector<std::string> served;
  while (served.size() < GetParam().served.size()) {
    served.push_back(PurityProfile::format(profile.nextTenths()));
  }
  EXPECT_EQ(served, GetParam().served);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, PurityProfileTest,
    ::testing::Values(ProfileCase{"Constant", PurityProfile::constant(100), {"100.0%", "100.0%"}},
                      ProfileCase{"ListClampsRoundsThenLastRepeats",
                                  PurityProfile::list({150, -3, 42.26, 9.9}),
                                  {"100.0%", "0.0%", "42.3%", "9.9%", "9.9%"}},
                      ProfileCase{"RampUpClampsAtTop",
                                  PurityProfile::ramp(99.8, 0.1),
                                  {"99.8%", "99.9%", "100.0%", "100.0%"}},
                      ProfileCase{"RampDownClampsAtZero",
                                  PurityProfile::ramp(0.2, -0.1),
                                  {"0.2%", "0.1%", "0.0%", "0.0%"}},
                      ProfileCase{"RampDoesNotDrift",
                                  PurityProfile::ramp(95, -0.3),
                                  {"95.0%", "94.7%", "94.4%", "94.1%", "93.8%", "93.5%", "93.2%"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zrv::sim
