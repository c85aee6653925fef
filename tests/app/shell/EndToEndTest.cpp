// The journeys an operator takes, on the real window and event loop, over
// loopback to the simulator running in the same process: the tests type
// into and click the real widgets.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <set>

#include "app/shell/MainWindow.h"
#include "sim/SimServer.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

class EndToEnd : public testing::Test {
 protected:
  // The simulator on a free port below 32768, the history files pointing at
  // it, then the window.
  void Open(sim::InstrumentConfig instrument) {
    sim = std::make_unique<sim::SimServer>(sim::SimOptions{.instrument = std::move(instrument)});
    WriteLocalHistory(ListenLocally([&](quint16 p) { return sim->listen(p); }));
    window = std::make_unique<MainWindow>(messages);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Find<QPushButton>("Version_Check")->text() == "Complete"; }));
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  }
  template <typename W = QWidget>
  W* Find(const char* name) {
    return window->findChild<W*>(name);
  }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  void TypeInto(const char* name, const QString& text) {
    auto* field = Find<QLineEdit>(name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }
  QStringList Wire(const QString& only = {}) const {
    QStringList commands;
    for (const auto& entry : sim->trace()) {
      if (only.isEmpty() || entry.command == only) commands << entry.command;
    }
    return commands;
  }
  bool Idle() const { return !window->timer1().Enabled(); }

  ScriptedMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  std::unique_ptr<MainWindow> window;
};

TEST_F(EndToEnd, CheckOnEachFirmwareUnlocksItsFeatures) {
  for (const auto& [firmware, wire, email] :
       {std::tuple{"1.00", QStringList{"VER?"}, false},
        {"1.10", QStringList{"VER?"}, true},
        {"1.20", QStringList{"VER?", "THRESHOLD?", "HYS?", "EMAIL?"}, true}}) {
    SCOPED_TRACE(firmware);
    Open({.firmware = firmware});
    EXPECT_EQ(Wire(), wire);
    EXPECT_EQ(Find<QLabel>("Label10")->text(), firmware);
    EXPECT_TRUE(Find("Main_Frame")->isEnabled() && Find("start")->isEnabled());
    EXPECT_EQ(Find("EMail")->isEnabled(), email);
    EXPECT_FALSE(Find("Version_Check")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,,,,,,\r\n");
    EXPECT_EQ(ReadFileBytes(kPortHistoryFile), std::to_string(sim->serverPort()) + ",,,,,,\r\n");
  }
}

TEST_F(EndToEnd, AOneSecondContinueRunLogsEveryPairAndBlinksBelowTheLevel) {
  Open({.firmware = "1.10", .purity = sim::PurityProfile::list({99.5, 95.0, 79.9, 70.0, 100.0})});
  TypeInto("Txt_Interval", "1");
  TypeInto("Txt_Save_File", "run.log");
  const qsizetype checkCommands = Wire().size();
  Click("start");
  std::set<QRgb> alarmColours;  // the indicator as drawn while the readings fall below 80
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout,
                   [&] { alarmColours.insert(DominantColor(*Find("Alarm_Display")).rgb()); });
  watch.start(50);
  ASSERT_TRUE(WaitFor([&] { return Wire("TEMP?").size() >= 5; }, 10000));
  watch.stop();
  EXPECT_TRUE(alarmColours.count(QColor(255, 0, 0).rgb()) &&
              alarmColours.count(QColor(192, 255, 255).rgb()));
  Click("stop");
  ASSERT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }, 5000));
  EXPECT_TRUE(messages.shown.empty());
  const QStringList run = Wire().mid(checkCommands);
  for (qsizetype i = 0; i < run.size(); ++i) EXPECT_EQ(run[i], i % 2 ? "TEMP?" : "PURITY?") << i;
  qint64 last = 0;
  for (const auto& entry : sim->trace()) {
    if (entry.command != "PURITY?") continue;
    EXPECT_NEAR(entry.msecsSinceEpoch - (last ? last : entry.msecsSinceEpoch - 1000), 1000, 200);
    last = entry.msecsSinceEpoch;
  }
  const QStringList lines = QString::fromStdString(ReadFileBytes("run.log")).split("\r\n");
  ASSERT_EQ(lines.size(), Wire("TEMP?").size() + 1) << "each line ends in CR LF";
  const QStringList purity = {"99.5", "95.0", "79.9", "70.0", "100.0"};
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].mid(19), " " + purity.value(i, "100.0") + " 25.3 %&DEG") << i;
  }
  EXPECT_EQ(Find<QPlainTextEdit>("TxtBox_Reply")->toPlainText().count('\n'), lines.size() - 1);
}

TEST_F(EndToEnd, ASingleReplyReachesTheHistoryNotTheLog) {
  Open({.firmware = "1.10", .hysteresis = 7});
  WriteFileBytes("single.log", "kept\r\n");
  TypeInto("Txt_Save_File", "single.log");
  Click("Single_mode");
  TypeInto("Txt_Command", "HYS?");
  Click("start");
  auto* history = Find<QPlainTextEdit>("TxtBox_Reply");
  ASSERT_TRUE(WaitFor([&] { return history->toPlainText().endsWith(" 07\n"); }));
  ASSERT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }));
  EXPECT_EQ(Wire().last(), "HYS?");
  EXPECT_EQ(ReadFileBytes("single.log"), "kept\r\n");
}

TEST_F(EndToEnd, SettingsAreReadBackSwitchedAndSetInTheInstrument) {
  Open({.firmware = "1.20", .threshold = 90, .hysteresis = 5, .email = false});
  EXPECT_EQ(Find<QLineEdit>("Txt_Theshold")->text() + Find<QLineEdit>("Txt_Hysteresis")->text(),
            "9005");
  for (const bool on : {true, false}) {
    Click("EMail");
    ASSERT_TRUE(WaitFor([&] { return sim->instrument().emailOn() == on && Idle(); }));
    EXPECT_EQ(Find<QPushButton>("EMail")->text(), on ? "Ready" : "not Ready");
  }
  TypeInto("Txt_Theshold", "85");
  TypeInto("Txt_Hysteresis", "3");
  Click("EMail_Pramset");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().hysteresis() == 3 && Idle(); }));
  EXPECT_EQ(sim->instrument().threshold(), 85);
  EXPECT_EQ(Wire().mid(4), (QStringList{"EMAIL ON", "EMAIL OF", "THRESHOLD 85", "HYS 3"}));
  EXPECT_TRUE(messages.shown.empty());
}

// History files as an operator's machine may have them, and a log that fails
// mid-run: Check still works over loopback and the window says what failed.
TEST_F(EndToEnd, DamagedFilesAreReportedAndTheWindowGoesOn) {
  namespace fs = std::filesystem;
  const std::string design = ViewModel().HostIPEdit.text, written = "127.0.0.1,,,,,,\r\n";
  const std::string kMissing = "<missing>", kDirectory = "<directory>";
  for (const auto& [bytes, shownHost, box, ipAfter] :
       {std::tuple<std::string, std::string, std::string, std::string>{kMissing, design, "",
                                                                       written},
        {"", design, "", written},
        {"10.0.0.1", "10.0.0.1", "", "127.0.0.1,10.0.0.1,,,,,\r\n"},
        {std::string(10 << 20, '7'), design, "", written},
        {std::string("\x00\xff\x01,\x80\r\x1b\xfe\x02", 9), "", "", ""},
        {"a,b,c,d,e,f,g,h,\r\n", "a", "", "127.0.0.1,a,b,c,d,f,\r\n"},
        {kDirectory, design,
         "Can't write ZRV-02_IPAddressList.Log !\nCan't write ZRV-02_PortList.Log !", ""}}) {
    SCOPED_TRACE(bytes.substr(0, 20));
    messages.shown.clear();
    sim = std::make_unique<sim::SimServer>(sim::SimOptions{});
    const quint16 port = ListenLocally([&](quint16 p) { return sim->listen(p); });
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) {
      fs::remove_all(file);
      if (bytes == kDirectory) fs::create_directory(file);
      if (bytes != kMissing && bytes != kDirectory) WriteFileBytes(file, bytes);
    }
    window = std::make_unique<MainWindow>(messages);
    auto* host = Find<QComboBox>("HostIPEdit");
    if (!shownHost.empty()) {
      EXPECT_EQ(host->currentText().toStdString(), shownHost);
    }
    for (const auto& [combo, text] : {std::pair{host, QString("127.0.0.1")},
                                      {Find<QComboBox>("HostPTEdit"), QString::number(port)}}) {
      combo->lineEdit()->selectAll();
      QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
      Type(combo->lineEdit(), text);
    }
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Find("start")->isEnabled() && Idle(); }));
    EXPECT_EQ(messages.shown, box.empty() ? std::vector<std::string>{} : std::vector{box});
    if (!ipAfter.empty()) {
      EXPECT_EQ(ReadFileBytes(kIpHistoryFile), ipAfter);
    }
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) fs::remove_all(file);
  }
  for (const auto& [directory, file] :
       {std::pair<std::string, std::string>{"", "run.log"}, {"/dev", "full"}}) {
    SCOPED_TRACE(file);
    Open({.firmware = "1.10"});
    const fs::path doomed = fs::current_path() / "doomed";
    fs::create_directories(doomed);
    window->core().View().Dir1.text = directory.empty() ? doomed.string() : directory;
    window->renderNow();
    TypeInto("Txt_Interval", "1");
    TypeInto("Txt_Save_File", QString::fromStdString(file));
    Click("start");
    if (directory.empty()) {
      ASSERT_TRUE(WaitFor([&] { return !ReadFileBytes((doomed / file).string()).empty(); }));
      fs::remove_all(doomed);
    }
    const qsizetype before = Wire("PURITY?").size();
    ASSERT_TRUE(WaitFor([&] { return Wire("PURITY?").size() >= before + 3; }, 8000));
    EXPECT_EQ(messages.notified, std::vector<std::string>{"Can't write log file !"});
    messages.notified.clear();
    Click("stop");
    ASSERT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }));
  }
}

}  // namespace
}  // namespace zrv::test
