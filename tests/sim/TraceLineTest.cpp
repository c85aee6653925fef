#include "sim/TraceLine.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace zrv::sim {
namespace {

struct EscapeCase {
  QByteArray command;
  QString shown;
};

class TraceLineEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TraceLineEscapeTest, ShowsEveryByteOnOneLine) {
  EXPECT_EQ(TraceLine::escaped(GetParam().command), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TraceLineEscapeTest,
    ::testing::Values(EscapeCase{"PURITY?", "PURITY?"}, EscapeCase{"THRESHOLD 95", "THRESHOLD 95"},
                      EscapeCase{"", ""}, EscapeCase{"A\rB", "A\\x0dB"},
                      EscapeCase{"\t~", "\\x09~"}, EscapeCase{"\x7f\xff", "\\x7f\\xff"},
                      EscapeCase{"a\\b", "a\\\\b"}, EscapeCase{"%1 %2", "%1 %2"}));

TEST(TraceLineTest, StampsLocalTimeAndConnection) {
  const qint64 at = QDateTime(QDate(2026, 12, 6), QTime(18, 41, 13, 123)).toMSecsSinceEpoch();
  EXPECT_EQ(TraceLine::format(at, 3, "PURITY?"), "18:41:13.123 #3 PURITY?");
}

}  // namespace
}  // namespace zrv::sim
