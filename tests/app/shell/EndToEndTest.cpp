// The journeys an operator takes, on the real window and event loop, over
// loopback to the simulator running in the same process. The tests type into
// and click the real widgets.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <set>

#include "app/shell/MainWindow.h"
#include "sim/SimServer.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

class EndToEnd : public testing::Test {
 protected:
  // The simulator on a free port below 32768 (or, given `port`, another peer there), the
  // history files pointing at it, the window, and Check pressed.
  void Open(sim::SimOptions options, quint16 port = 0) {
    sim = std::make_unique<sim::SimServer>(std::move(options));
    wire.clear();
    QObject::connect(sim.get(), &sim::SimServer::commandReceived, [this](auto& c) { wire << c; });
    WriteLocalHistory(port ? port : ListenLocally([&](quint16 p) { return sim->listen(p); }));
    window = std::make_unique<MainWindow>(messages);
    Click("Version_Check");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(); }));
  }
  QWidget* Find(const char* name) { return window->findChild<QWidget*>(name); }
  QString Shown(const char* name) { return Find(name)->property("text").toString(); }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  void TypeInto(const char* name, const QString& text) {  // over what the field holds
    window->findChild<QLineEdit*>(name)->selectAll();
    QTest::keyClicks(Find(name), text);
  }
  bool Idle() const { return !window->timer1().Enabled(); }
  bool Stopped() { return Idle() && Find("start")->isEnabled(); }
  // A Continue run into run.log until it holds `pairs` lines, then stop; the log's lines.
  QStringList Run(const QString& interval, int pairs) {
    fs::remove("run.log");
    TypeInto("Txt_Interval", interval);
    TypeInto("Txt_Save_File", "run.log");
    Click("start");
    const auto log = [] { return QString::fromStdString(ReadFileBytes("run.log")); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return log().count("\r\n") >= pairs; }, 8000 * pairs));
    Click("stop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Stopped(); }, 10000));
    return log().split("\r\n", Qt::SkipEmptyParts);
  }

  FakeMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  QStringList wire;  // the commands the simulator received
  std::unique_ptr<MainWindow> window;
};

TEST_F(EndToEnd, CheckOnEachFirmwareThenTheSettingsReachTheInstrumentAndASingleReplyIsShown) {
  // The version shown, the commands sent, Check's text; Main_Frame, start, EMail, Check enabled.
  for (const QString want : {"1.00 VER? Complete 1100", "1.10 VER? Complete 1110",
                             "1.20 VER?,THRESHOLD?,HYS?,EMAIL? Complete 1110"}) {
    Open({.instrument = {.firmware = want.left(4).toStdString()}});
    QString got = Shown("Label10") + " " + wire.join(",") + " " + Shown("Version_Check") + " ";
    for (auto name : {"Main_Frame", "start", "EMail", "Version_Check"})
      got += Find(name)->isEnabled() ? "1" : "0";
    EXPECT_EQ(got, want);
  }
  // 1.20 has read the settings back (90 and 5); they switch and set in the instrument.
  const QString readBack = Shown("Txt_Theshold") + Shown("Txt_Hysteresis");
  Click("EMail");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->instrument().emailOn() && Idle(); }));
  TypeInto("Txt_Theshold", "85");
  TypeInto("Txt_Hysteresis", "3");
  Click("EMail_Pramset");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->instrument().hysteresis() == 3 && Idle(); }));
  EXPECT_EQ(readBack + " " + Shown("EMail") + " " + wire.mid(4).join(",") + " " +
                QString::number(sim->instrument().threshold()),
            "9005 Ready EMAIL ON,THRESHOLD 85,HYS 3 85");
  // A Single command; its late reply goes to the history and not to the log.
  sim->setFaults({.replyDelayMs = 400});
  Click("Single_mode");
  TypeInto("Txt_Command", "HYS?");
  Click("start");
  const auto* history = window->findChild<QPlainTextEdit*>("TxtBox_Reply");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return history->toPlainText().endsWith(" 03\n") && Stopped(); }));
  EXPECT_FALSE(fs::exists("zrv-02.log"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EndToEnd, AOneSecondContinueRunLogsEveryPairAndBlinksBelowTheLevel) {
  Open({.instrument = {.firmware = "1.10",
                       .purity = sim::PurityProfile::list({99.5, 95.0, 79.9, 70.0})}});
  std::set<QRgb> alarmColours;  // the indicator as drawn while the readings fall below 80
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout,
                   [&] { alarmColours.insert(DominantColor(*Find("Alarm_Display")).rgb()); });
  watch.start(50);
  const QStringList lines = Run("1", 4);
  EXPECT_TRUE(alarmColours.count(qRgb(255, 0, 0)) && alarmColours.count(qRgb(192, 255, 255)));
  EXPECT_EQ(
      lines.mid(0, 4).join(",").remove(QRegularExpression(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)")),
      " 99.5 25.3 %&DEG, 95.0 25.3 %&DEG, 79.9 25.3 %&DEG, 70.0 25.3 %&DEG");
  const auto& trace = sim->trace();  // VER?, then PURITY? and TEMP? by turns, polled 1 s apart
  for (qsizetype i = 3; i < trace.size(); i += 2)
    EXPECT_NEAR(trace[i].msecsSinceEpoch - trace[i - 2].msecsSinceEpoch, 1000, 200);
}

}  // namespace
}  // namespace zrv::test
