#include "core/NumberReading.h"

#include <gtest/gtest.h>

#include "core/CheckedMath.h"

namespace zrv::test {
using Reading = std::pair<const char*, double>;

TEST(NumberReading, LenientTakesTheLeadingNumberStrictWantsTheWholeText) {
  const Reading lenient[] = {
      {"7777", 7777}, {"7777.5", 7777.5}, {"", 0},     {"1.2a", 1.2},   {"abc", 0},    {" 12", 12},
      {"1.", 1},      {".5", 0.5},        {"-3x", -3}, {"1.00\r\n", 1}, {"2e2", 200},  {"1e", 1},
      {"+4", 4},      {"1.2.3", 1.2},     {"--5", 0},  {"inf", 0},      {"2e-1", 0.2}, {"1ex", 1}};
  for (const auto& [text, value] : lenient) EXPECT_EQ(ReadLenient(text), value) << text;
  const Reading strict[] = {{"12", 12}, {" 80 ", 80}, {"\t0", 0}, {"7.5", 7.5}, {"-2", -2}};
  for (const auto& [text, value] : strict) EXPECT_EQ(ReadStrict(text), value) << text;
  for (const char* bad : {"", " ", "12a", "a", "1 2", ".", "-", "1,5", "inf", "nan", "--5"})
    EXPECT_THROW(ReadStrict(bad), TypeMismatchError) << '"' << bad << '"';
}

TEST(NumberReading, RoundsHalvesToEvenWithinTheirWidth) {
  const Reading rounded[] = {{"7777.5", 7778}, {"7776.5", 7776},   {"", 0},
                             {"0.5", 0},       {"1.5", 2},         {"-2.5", -2},
                             {"32767", 32767}, {"-32768", -32768}, {"32767.4", 32767}};
  for (const auto& [text, value] : rounded) EXPECT_EQ(LenientInt16(text), value) << text;
  for (const char* over : {"32768", "99999", "-32769", "32767.5", "1e9"})
    EXPECT_THROW(LenientInt16(over), OverflowError) << over;
  EXPECT_EQ(std::tuple(StrictInt32("2147483647"), StrictInt16("99"), Inc16(32766)),
            std::tuple(2147483647, 99, 32767));
  EXPECT_EQ(CheckedMul<std::int32_t>(10000, 5), 50000);
  EXPECT_THROW(StrictInt16(""), TypeMismatchError);
  for (const auto past : {+[] { StrictInt32("2147483648"); }, +[] { StrictInt16("40000"); },
                          +[] { Inc16(32767); }, +[] { Dec16(-32768); }, +[] { Inc32(2147483647); },
                          +[] { CheckedMul<std::int32_t>(500000000, 5); }})
    EXPECT_THROW(past(), OverflowError);
}

}  // namespace zrv::test
