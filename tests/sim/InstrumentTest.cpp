#include "sim/Instrument.h"

#include <gtest/gtest.h>

namespace zrv::sim {
namespace {

TEST(Instrument, RepliesExactlyAndSendsTheNoticeOncePerDip) {
  // Steps: command, reply; a trailing "+" marks a reply the notice follows.
  const std::vector<std::pair<const char*, const char*>> queries = {
      {"VER?", "1.20\r\n"},
      {"PURITY?", "99.5%\r\n"},
      {"TEMP?", "25.3DEG\r\n"},
      {"THRESHOLD?", "90\r\n"},
      {"HYS?", "05\r\n"},
      {"EMAIL?", "OFF\r\n"},
      {"THRESHOLD 05", "OK\r\n"},
      {"THRESHOLD?", "05\r\n"},
      {"HYS 12", "OK\r\n"},
      {"HYS?", "12\r\n"},
      {"EMAIL ON", "OK\r\n"},
      {"EMAIL?", "ON\r\n"},
      {"EMAIL OF", "OK\r\n"},
      {"EMAIL?", "OFF\r\n"},
      {"ver?", "Illegal Command!!\r\n"},
      {"EMAIL OFF", "Illegal Command!!\r\n"},
      {"THRESHOLD 100", "Illegal Command!!\r\n"},
      {"THRESHOLD?", "05\r\n"}};
  // Below the threshold fires, above threshold + hysteresis re-arms.
  const std::vector<std::pair<const char*, const char*>> dips = {
      {"THRESHOLD 80", "OK\r\n"}, {"HYS 10", "OK\r\n"},      {"PURITY?", "70.0%\r\n"},
      {"EMAIL ON", "OK\r\n"},     {"PURITY?", "70.0%\r\n+"}, {"PURITY?", "70.0%\r\n"},
      {"PURITY?", "90.0%\r\n"},   {"PURITY?", "90.1%\r\n"},  {"PURITY?", "80.0%\r\n"},
      {"PURITY?", "79.9%\r\n+"}};
  for (const auto& [config, steps] :
       {std::pair{InstrumentConfig{}, queries},
        {InstrumentConfig{.purity = PurityProfile::list({70, 70, 70, 90, 90.1, 80, 79.9})},
         dips}}) {
    Instrument instrument(config);
    for (const auto& [command, reply] : steps) {
      const InstrumentReply got = instrument.handle(command);
      EXPECT_EQ(got.text + (got.emailNotice ? "+" : ""), reply) << command;
    }
  }
}

TEST(PurityProfile, ServesFormattedValuesInOrder) {
  for (auto [profile, served] :
       {std::pair{PurityProfile::constant(100), std::vector<std::string>{"100.0%", "100.0%"}},
        {PurityProfile::list({150, -3, 42.26, 9.9}), {"100.0%", "0.0%", "42.3%", "9.9%", "9.9%"}},
        {PurityProfile::ramp(99.8, 0.1), {"99.8%", "99.9%", "100.0%", "100.0%"}},
        {PurityProfile::ramp(0.2, -0.1), {"0.2%", "0.1%", "0.0%", "0.0%"}},
        {PurityProfile::ramp(95, -0.3), {"95.0%", "94.7%", "94.4%", "94.1%", "93.8%", "93.5%"}}}) {
    std::vector<std::string> got;
    while (got.size() < served.size()) got.push_back(PurityProfile::format(profile.nextTenths()));
    EXPECT_EQ(got, served);
  }
}

}  // namespace
}  // namespace zrv::sim
