#include "sim/PurityProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrv::sim {
namespace {

struct ProfileCase {
  std::string name;
  PurityProfile profile;
  std::vector<std::string> served;
};

class PurityProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(PurityProfileTest, ServesValuesInOrder) {
  PurityProfile profile = GetParam().profile;
  std::vector<std::string> served;
  for (std::size_t i = 0; i < GetParam().served.size(); ++i) {
    served.push_back(PurityProfile::format(profile.nextTenths()));
  }
  EXPECT_EQ(served, GetParam().served);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, PurityProfileTest,
    ::testing::Values(
        ProfileCase{"ConstantRepeats", PurityProfile::constant(99.5), {"99.5%", "99.5%", "99.5%"}},
        ProfileCase{"ConstantThreeDigits", PurityProfile::constant(100), {"100.0%"}},
        ProfileCase{"ConstantOneDigit", PurityProfile::constant(9.9), {"9.9%"}},
        ProfileCase{"ConstantZero", PurityProfile::constant(0), {"0.0%"}},
        ProfileCase{"RoundsToTenths", PurityProfile::constant(42.26), {"42.3%"}},
        ProfileCase{"ClampsHigh", PurityProfile::constant(150), {"100.0%"}},
        ProfileCase{"ClampsLow", PurityProfile::constant(-3), {"0.0%"}},
        ProfileCase{"ListThenLastRepeats",
                    PurityProfile::list({100, 99.9, 9.9}),
                    {"100.0%", "99.9%", "9.9%", "9.9%", "9.9%"}},
        ProfileCase{"ListClamps", PurityProfile::list({101, -1}), {"100.0%", "0.0%"}},
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
