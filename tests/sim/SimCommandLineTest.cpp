#include "sim/SimCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrv::sim {
namespace {

QStringList arguments(const std::vector<QString>& options) {
  QStringList list{"zrv02-sim"};
  for (const QString& option : options) list << option;
  return list;
}

// What a run should end up with; members not named in a case keep the defaults.
struct Expected {
  quint16 port = 7777;
  std::string firmware = "1.20";
  double temperature = 25.3;
  int threshold = 90;
  int hysteresis = 5;
  bool email = false;
  std::vector<std::string> purity = {"99.5%", "99.5%", "99.5%"};
  int noticeDelayMs = 100;
  int replyDelayMs = 0;
  bool silent = false;
  bool split = false;
  bool join = false;
  int closeAfter = 0;
  bool garbage = false;
  bool printTrace = false;
};

struct AcceptedCase {
  std::string name;
  std::vector<QString> options;
  Expected expected;
};

class SimCommandLineAcceptTest : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(SimCommandLineAcceptTest, FillsOptions) {
  SimCommandLine commandLine;
  ASSERT_TRUE(commandLine.parse(arguments(GetParam().options)))
      << commandLine.errorText().toStdString();
  const Expected& want = GetParam().expected;
  SimOptions got = commandLine.options();
  EXPECT_EQ(commandLine.port(), want.port);
  EXPECT_EQ(got.instrument.firmware, want.firmware);
  EXPECT_DOUBLE_EQ(got.instrument.temperature, want.temperature);
  EXPECT_EQ(got.instrument.threshold, want.threshold);
  EXPECT_EQ(got.instrument.hysteresis, want.hysteresis);
  EXPECT_EQ(got.instrument.email, want.email);
  std::vector<std::string> purity;
  for (std::size_t i = 0; i < want.purity.size(); ++i) {
    purity.push_back(PurityProfile::format(got.instrument.purity.nextTenths()));
  }
  EXPECT_EQ(purity, want.purity);
  EXPECT_EQ(got.noticeDelayMs, want.noticeDelayMs);
  EXPECT_EQ(got.faults.replyDelayMs, want.replyDelayMs);
  EXPECT_EQ(got.faults.silent, want.silent);
  EXPECT_EQ(got.faults.split, want.split);
  EXPECT_EQ(got.faults.join, want.join);
  EXPECT_EQ(got.faults.closeAfter, want.closeAfter);
  EXPECT_EQ(got.faults.garbage, want.garbage);
  EXPECT_EQ(got.printTrace, want.printTrace);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SimCommandLineAcceptTest,
    ::testing::Values(
        AcceptedCase{"Defaults", {}, {}},
        AcceptedCase{"Instrument",
                     {"--port", "20001", "--firmware", "1.00", "--temp", "-5.5", "--threshold", "0",
                      "--hysteresis", "99", "--email", "on"},
                     {.port = 20001,
                      .firmware = "1.00",
                      .temperature = -5.5,
                      .threshold = 0,
                      .hysteresis = 99,
                      .email = true}},
        AcceptedCase{"PortZero", {"--port", "0"}, {.port = 0}},
        AcceptedCase{"EmailOff", {"--email", "off"}, {.email = false}},
        AcceptedCase{"Constant", {"--purity", "9.9"}, {.purity = {"9.9%", "9.9%"}}},
        AcceptedCase{"List",
                     {"--purity-list", "100,99.9,9.9"},
                     {.purity = {"100.0%", "99.9%", "9.9%", "9.9%"}}},
        AcceptedCase{"Ramp", {"--purity-ramp", "91,-0.5"}, {.purity = {"91.0%", "90.5%", "90.0%"}}},
        AcceptedCase{"Faults",
                     {"--notice-delay", "0", "--delay", "250", "--silent", "--split", "--join",
                      "--close-after", "3", "--garbage", "--trace"},
                     {.noticeDelayMs = 0,
                      .replyDelayMs = 250,
                      .silent = true,
                      .split = true,
                      .join = true,
                      .closeAfter = 3,
                      .garbage = true,
                      .printTrace = true}}),
    [](const auto& info) { return info.param.name; });

struct RejectedCase {
  std::string name;
  std::vector<QString> options;
  QString mentions;
};

class SimCommandLineRejectTest : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(SimCommandLineRejectTest, SaysWhy) {
  SimCommandLine commandLine;
  EXPECT_FALSE(commandLine.parse(arguments(GetParam().options)));
  EXPECT_TRUE(commandLine.errorText().contains(GetParam().mentions))
      << commandLine.errorText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Options, SimCommandLineRejectTest,
    ::testing::Values(
        RejectedCase{"UnknownOption", {"--bogus"}, "bogus"},
        RejectedCase{"Positional", {"7777"}, "7777"},
        RejectedCase{"PortTooBig", {"--port", "65536"}, "--port"},
        RejectedCase{"ThresholdTooBig", {"--threshold", "100"}, "--threshold"},
        RejectedCase{"HysteresisNotWhole", {"--hysteresis", "2.5"}, "--hysteresis"},
        RejectedCase{"CloseAfterZero", {"--close-after", "0"}, "--close-after"},
        RejectedCase{"NegativeDelay", {"--delay", "-1"}, "--delay"},
        RejectedCase{"EmailMaybe", {"--email", "yes"}, "--email"},
        RejectedCase{"TempText", {"--temp", "warm"}, "--temp"},
        RejectedCase{"PurityNotFinite", {"--purity", "inf"}, "--purity"},
        RejectedCase{"ListHole", {"--purity-list", "1,,2"}, "--purity-list"},
        RejectedCase{"RampOneNumber", {"--purity-ramp", "90"}, "--purity-ramp"},
        RejectedCase{"TwoPuritySources", {"--purity", "90", "--purity-ramp", "90,1"}, "only one"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zrv::sim
