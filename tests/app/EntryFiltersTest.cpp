#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(EntryFilters, AcceptDigitsAndControlKeysRefuseTheRestOnlyTheAddressTakesAPoint) {
  using KeyPress = void (SvZRV_02::*)(std::int16_t&);
  // clang-format off
  const std::pair<KeyPress, bool> fields[] = {
      {&SvZRV_02::Txt_Interval_KeyPress, false}, {&SvZRV_02::Txt_Alarm_level_KeyPress, false},
      {&SvZRV_02::HostPTEdit_KeyPress, false},   {&SvZRV_02::HostIPEdit_KeyPress, true}};
  const std::pair<std::int16_t, bool> keys[] = {
      {'0', true},  {'5', true},   {'9', true},  {8, true},      {13, true},    {27, true},
      {0, true},    {31, true},    {' ', false}, {'-', false},   {',', false},  {'a', false},
      {'/', false}, {':', false},  {127, false}, {255, false},   {256, false},  {-1, false},
      {-32177, false}, {'.', false}};
  // clang-format on
  for (const auto& [handler, point] : fields) {
    for (auto [code, accepted] : keys) {
      Rig r;
      if (code == '.') accepted = point;
      std::int16_t key = code;
      (r.w.*handler)(key);
      EXPECT_EQ(key, accepted ? code : 0) << "code " << code << (point ? " address" : "");
      EXPECT_EQ(r.messages.shown, accepted ? Texts{} : Texts{"Illegal Input !"}) << code;
    }
  }
}

}  // namespace zrv::test
