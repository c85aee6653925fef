#include "link/NumberReading.h"

#include <gtest/gtest.h>

#include "link/CheckedMath.h"

namespace zrv {
namespace {

struct LenientCase {
  const char* text;
  double value;
};

TEST(NumberReading, LenientTakesTheLeadingNumber) {
  const LenientCase cases[] = {
      {"7777", 7777},  {"7777.5", 7777.5}, {"", 0},   {"1.2a", 1.2}, {"abc", 0},
      {" 12", 12},     {"1.10", 1.1},      {"1.", 1}, {".5", 0.5},   {"-3x", -3},
      {"1.00\r\n", 1}, {"2e2", 200},       {"1e", 1}, {"+4", 4},     {"1.2.3", 1.2},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLenient(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberReading, StrictWantsTheWholeText) {
  EXPECT_EQ(ReadStrict("12"), 12);
  EXPECT_EQ(ReadStrict(" 80 "), 80);
  EXPECT_EQ(ReadStrict("0"), 0);
  EXPECT_EQ(ReadStrict("7.5"), 7.5);
  for (const char* bad : {"", " ", "12a", "a", "1 2", ".", "-", "1,5"}) {
    EXPECT_THROW(ReadStrict(bad), TypeMismatchError) << '"' << bad << '"';
  }
}

struct RoundCase {
  const char* text;
  std::int16_t value;
};

TEST(NumberReading, RoundsHalvesToEvenWithinSixteenBits) {
  const RoundCase cases[] = {{"7777", 7777},    {"7777.5", 7778}, {"7776.5", 7776},
                             {"", 0},           {"0.5", 0},       {"1.5", 2},
                             {"-2.5", -2},      {"32767", 32767}, {"-32768", -32768},
                             {"32767.4", 32767}};
  for (const auto& c : cases) EXPECT_EQ(LenientInt16(c.text), c.value) << c.text;
  for (const char* over : {"32768", "99999", "-32769", "32767.5", "1e9"}) {
    EXPECT_THROW(LenientInt16(over), OverflowError) << over;
  }
}

TEST(NumberReading, StrictReadingsFailOutsideTheirWidth) {
  EXPECT_EQ(StrictInt32("9999"), 9999);
  EXPECT_EQ(StrictInt32("2147483647"), 2147483647);
  EXPECT_THROW(StrictInt32("2147483648"), OverflowError);
  EXPECT_EQ(StrictInt16("99"), 99);
  EXPECT_THROW(StrictInt16("40000"), OverflowError);
  EXPECT_THROW(StrictInt16(""), TypeMismatchError);
}

TEST(CheckedMath, RaisesInsteadOfWrapping) {
  EXPECT_EQ(Inc16(32766), 32767);
  EXPECT_THROW(Inc16(32767), OverflowError);
  EXPECT_THROW(Dec16(-32768), OverflowError);
  EXPECT_THROW(Inc32(2147483647), OverflowError);
  EXPECT_THROW(CheckedMul<std::int32_t>(500000000, 5), OverflowError);
  EXPECT_EQ(CheckedMul<std::int32_t>(10000, 5), 50000);
}

}  // namespace
}  // namespace zrv
