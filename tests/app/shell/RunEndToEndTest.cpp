// Measurement runs as the operator makes them: Check, choose the mode, type
// the entries, start, watch, stop.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <set>

#include "tests/app/shell/EndToEndFixture.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

using sim::PurityProfile;

class RunEndToEnd : public EndToEnd {};

std::vector<qint64> TimesOf(const sim::SimServer& server, const QString& command) {
  std::vector<qint64> times;
  for (const auto& entry : server.trace()) {
    if (entry.command == command) times.push_back(entry.msecsSinceEpoch);
  }
  return times;
}

TEST_F(RunEndToEnd, OneSecondContinueRunLogsEveryPairAndBlinksBelowTheLevel) {
  Open({.instrument = {.firmware = "1.10",
                       .purity = PurityProfile::list({99.5, 95.0, 85.2, 79.9, 70.0, 100.0})}});
  CheckVersion();
  TypeInto("Txt_Interval", "1");
  TypeInto("Txt_Alarm_level", "80");
  TypeInto("Txt_Save_File", "run.log");
  const int checkCommands = static_cast<int>(Wire().size());
  Click("start");
  EXPECT_FALSE(Find("start")->isEnabled());

  // Watch the indicator as drawn while the readings fall below 80.
  std::set<QRgb> alarmColours;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout,
                   [&] { alarmColours.insert(DominantColor(*Find("Alarm_Display")).rgb()); });
  watch.start(50);
  ASSERT_TRUE(WaitFor([&] { return TimesOf(*sim, "TEMP?").size() >= 5; }, 10000));
  watch.stop();
  EXPECT_TRUE(alarmColours.count(QColor(255, 0, 0).rgb())) << "red phase seen";
  EXPECT_TRUE(alarmColours.count(QColor(192, 255, 255).rgb())) << "pale cyan phase seen";

  Click("stop");
  ASSERT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }, 5000));
  EXPECT_TRUE(messages.shown.empty());

  // The wire: PURITY? and TEMP? alternate, one PURITY? per second.
  QStringList run = Wire().mid(checkCommands);
  ASSERT_GE(run.size(), 10);
  for (int i = 0; i < run.size(); ++i) {
    EXPECT_EQ(run[i], i % 2 == 0 ? "PURITY?" : "TEMP?") << i;
  }
  const auto purity = TimesOf(*sim, "PURITY?");
  for (std::size_t i = 1; i < purity.size(); ++i) {
    EXPECT_NEAR(purity[i] - purity[i - 1], 1000, 200) << "interval " << i;
  }

  // The log: one line per pair, exact bytes.
  const std::string log = ReadFileBytes("run.log");
  const QStringList lines = QString::fromStdString(log).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), TimesOf(*sim, "TEMP?").size());
  ASSERT_TRUE(log.size() >= 2 && log.substr(log.size() - 2) == "\r\n");
  const QRegularExpression shape(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d (\d+\.\d) 25\.3 %&DEG$)");
  const QStringList expected = {"99.5", "95.0", "85.2", "79.9", "70.0", "100.0", "100.0"};
  for (int i = 0; i < lines.size(); ++i) {
    const auto match = shape.match(lines[i]);
    ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
    EXPECT_EQ(match.captured(1), expected.value(i, "100.0"));
  }
  EXPECT_EQ(
      Find<QPlainTextEdit>("TxtBox_Reply")->toPlainText().split('\n', Qt::SkipEmptyParts).size(),
      lines.size());
}

TEST_F(RunEndToEnd, SingleCommandReplyReachesTheHistoryNotTheLog) {
  Open({.instrument = {.firmware = "1.10", .hysteresis = 7}});
  CheckVersion();
  WriteFileBytes("single.log", "kept\r\n");
  TypeInto("Txt_Save_File", "single.log");
  Click("Single_mode");
  TypeInto("Txt_Command", "HYS?");
  Click("start");
  auto* history = Find<QPlainTextEdit>("TxtBox_Reply");
  ASSERT_TRUE(WaitFor([&] { return history->toPlainText().contains(" 07"); }));
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  EXPECT_EQ(Wire().last(), "HYS?");
  EXPECT_EQ(ReadFileBytes("single.log"), "kept\r\n");
  EXPECT_TRUE(Find("start")->isEnabled());
}

TEST_F(RunEndToEnd, AWrongEntryKeepsThePreviousLog) {
  Open({.instrument = {.firmware = "1.10"}});
  CheckVersion();
  WriteFileBytes("zrv-02.log", "yesterday\r\n");
  TypeInto("Txt_Interval", "");
  Click("start");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Wrong Parameter !"});
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(Find("start")->isEnabled());
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), "yesterday\r\n");
}

}  // namespace
}  // namespace zrv::test
