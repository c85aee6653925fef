// The journey an operator takes, on the real window and event loop, over
// loopback to the simulator running in the same process. The test types into
// and clicks the real widgets.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <memory>
#include <set>

#include "shell/MainWindow.h"
#include "sim/SimServer.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

TEST(EndToEnd, CheckOnEachFirmwareThenARunToTheLogTheSettingsAndASingleReply) {
  FakeMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  QStringList wire;  // the commands the simulator received
  std::unique_ptr<shell::MainWindow> window;
  const auto find = [&](const char* name) { return window->findChild<QWidget*>(name); };
  const auto shown = [&](const char* name) { return find(name)->property("text").toString(); };
  const auto click = [&](const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); };
  const auto typeInto = [&](const char* name, const QString& text) {  // over what it holds
    window->findChild<QLineEdit*>(name)->selectAll();
    QTest::keyClicks(find(name), text);
  };
  const auto idle = [&] { return !window->Timer1().Enabled(); };
  // The version shown, the commands sent, Check's text; Main_Frame, start, EMail, Check enabled.
  for (const QString want : {"1.00 VER? Complete 1100", "1.10 VER? Complete 1110",
                             "1.20 VER?,THRESHOLD?,HYS?,EMAIL? Complete 1110"}) {
    // The simulator on a free port below 32768, the history files pointing at it, the window.
    sim = std::make_unique<sim::SimServer>(
        sim::SimOptions{.instrument = {.firmware = want.left(4).toStdString(),
                                       .purity = sim::PurityProfile::List({99.5, 95, 79.9, 70})}});
    wire.clear();
    QObject::connect(sim.get(), &sim::SimServer::commandReceived, [&](auto& c) { wire << c; });
    WriteLocalHistory(ListenLocally([&](quint16 p) { return sim->Listen(p); }));
    window = std::make_unique<shell::MainWindow>(messages);
    click("Version_Check");
    ASSERT_TRUE(QTest::qWaitFor(idle));
    QString got = shown("Label10") + " " + wire.join(",") + " " + shown("Version_Check") + " ";
    for (auto name : {"Main_Frame", "start", "EMail", "Version_Check"})
      got += find(name)->isEnabled() ? "1" : "0";
    EXPECT_EQ(got, want);
  }
  const QString readBack = shown("Txt_Theshold") + shown("Txt_Hysteresis");
  // A one-second Continue run logs every pair and blinks while the readings are below 80.
  std::set<QRgb> alarmColors;
  QTimer watch;
  watch.callOnTimeout([&] { alarmColors.insert(DominantColor(*find("Alarm_Display")).rgb()); });
  watch.start(50);
  typeInto("Txt_Interval", "1");
  click("start");
  const auto log = [] { return QString::fromStdString(ReadFileBytes("zrv-02.log")); };
  EXPECT_TRUE(QTest::qWaitFor([&] { return log().count("\r\n") >= 4; }, 32000));
  click("stop");
  EXPECT_TRUE(QTest::qWaitFor(idle, 10000));
  EXPECT_TRUE(alarmColors.count(qRgb(255, 0, 0)) && alarmColors.count(qRgb(192, 255, 255)));
  // Nothing but the run's pairs reaches the log, then or later: the last value repeats.
  const QString logged = log();
  const QString pair = R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d %1 25\.3 %&DEG\r\n)";
  EXPECT_TRUE(QRegularExpression("^" + pair.arg("99\\.5") + pair.arg("95\\.0") +
                                 pair.arg("79\\.9") + "(" + pair.arg("70\\.0") + ")+$")
                  .match(logged)
                  .hasMatch())
      << logged.toStdString();
  const auto& trace = sim->Trace();  // after the read-out, PURITY? and TEMP? polled 1 s apart
  for (qsizetype i = 6; i < trace.size(); i += 2)
    EXPECT_NEAR(trace[i].msecsSinceEpoch - trace[i - 2].msecsSinceEpoch, 1000, 200);
  // The settings read back at Check (90 and 5) switch and set in the instrument.
  wire.clear();
  click("EMail");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->SharedInstrument().EmailOn() && idle(); }));
  typeInto("Txt_Theshold", "85");
  typeInto("Txt_Hysteresis", "3");
  click("EMail_Pramset");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->SharedInstrument().Hysteresis() == 3 && idle(); }));
  EXPECT_EQ(readBack + " " + shown("EMail") + " " + wire.join(",") + " " +
                QString::number(sim->SharedInstrument().Threshold()),
            "9005 Ready EMAIL ON,THRESHOLD 85,HYS 3 85");
  // A Single command; its reply goes to the history and not to the log.
  click("Single_mode");
  typeInto("Txt_Command", "HYS?");
  click("start");
  const auto* history = window->findChild<QPlainTextEdit*>("TxtBox_Reply");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return history->toPlainText().endsWith(" 03\n") && find("start")->isEnabled(); }));
  EXPECT_EQ(log(), logged) << "the settings' acknowledgements and the Single reply are no records";
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace zrv::test
