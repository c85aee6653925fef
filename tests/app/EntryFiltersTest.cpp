#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {
namespace {

using KeyPress = void (SvZRV_02::*)(std::int16_t&);

struct Field {
  const char* name;
  KeyPress handler;
  bool acceptsPoint;
};

const Field kFields[] = {
    {"Txt_Interval", &SvZRV_02::Txt_Interval_KeyPress, false},
    {"Txt_Alarm_level", &SvZRV_02::Txt_Alarm_level_KeyPress, false},
    {"HostPTEdit", &SvZRV_02::HostPTEdit_KeyPress, false},
    {"HostIPEdit", &SvZRV_02::HostIPEdit_KeyPress, true},
};

TEST(EntryFilters, AcceptDigitsAndControlKeysRefuseTheRest) {
  struct Key {
    std::int16_t code;
    bool accepted;  // in the fields without a point
  };
  const Key keys[] = {{'0', true},  {'5', true},  {'9', true},    {8, true},    {13, true},
                      {27, true},   {3, true},    {22, true},     {24, true},   {0, true},
                      {31, true},   {' ', false}, {'-', false},   {',', false}, {'a', false},
                      {'Z', false}, {'/', false}, {':', false},   {127, false}, {255, false},
                      {256, false}, {-1, false},  {-32177, false}};
  for (const Field& f : kFields) {
    for (const Key& k : keys) {
      Rig r;
      std::int16_t code = k.code;
      (r.w.*f.handler)(code);
      EXPECT_EQ(code, k.accepted ? k.code : 0) << f.name << " code " << k.code;
      EXPECT_EQ(r.messages.shown.size(), k.accepted ? 0u : 1u) << f.name << " code " << k.code;
      if (!k.accepted) {
        EXPECT_EQ(r.messages.shown[0], "Illegal Input !");
      }
    }
  }
}

TEST(EntryFilters, OnlyTheAddressTakesAPoint) {
  for (const Field& f : kFields) {
    Rig r;
    std::int16_t code = '.';
    (r.w.*f.handler)(code);
    EXPECT_EQ(code, f.acceptsPoint ? '.' : 0) << f.name;
    EXPECT_EQ(r.messages.shown.size(), f.acceptsPoint ? 0u : 1u) << f.name;
  }
}

}  // namespace
}  // namespace zrv::test
