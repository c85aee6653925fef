// The journeys an operator takes, on the real window and event loop, over
// loopback to the simulator running in the same process; the Faults suite
// sets its switches for an imperfect network. The tests type into and click
// the real widgets.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTcpSocket>
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
  // The simulator on a free port below 32768, the history files pointing at
  // it, the window, and Check pressed.
  void Open(sim::SimOptions options) {
    sim = std::make_unique<sim::SimServer>(std::move(options));
    WriteLocalHistory(ListenLocally([&](quint16 p) { return sim->listen(p); }));
    ShowWindowAndCheck();
  }
  void ShowWindowAndCheck() {
    window = std::make_unique<MainWindow>(messages);
    window->show();
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  }
  QWidget* Find(const char* name) { return window->findChild<QWidget*>(name); }
  QString Shown(const char* name) {
    const QWidget* w = Find(name);
    return w->property(w->property("text").isValid() ? "text" : "plainText").toString();
  }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  void TypeInto(const char* name, const QString& text) {  // a text box or a combo box's field
    auto* field = qobject_cast<QLineEdit*>(Find(name));
    if (!field) field = Find(name)->findChild<QLineEdit*>();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }
  QStringList Wire() const {
    QStringList commands;
    for (const auto& entry : sim->trace()) commands << entry.command;
    return commands;
  }
  bool Idle() const { return !window->timer1().Enabled(); }
  bool Stopped() { return Idle() && Find("start")->isEnabled(); }
  // A Continue run into run.log until it holds `pairs` lines, then stop; the
  // log's lines.
  QStringList Run(const QString& interval, int pairs) {
    fs::remove("run.log");
    TypeInto("Txt_Interval", interval);
    TypeInto("Txt_Save_File", "run.log");
    Click("start");
    const auto log = [] { return QString::fromStdString(ReadFileBytes("run.log")); };
    EXPECT_TRUE(WaitFor([&] { return log().count("\r\n") >= pairs; }, 8000 + 12000 * (pairs - 1)));
    // A long interval closes the link between polls; stop only once it has.
    EXPECT_TRUE(WaitFor([&] {
      return interval.toInt() < 10 || window->core().View().TCP_Condition.backColor == kWhite;
    }));
    Click("stop");
    EXPECT_TRUE(WaitFor([&] { return Stopped(); }, 10000));
    QStringList lines = log().split("\r\n");
    EXPECT_EQ(lines.takeLast(), "") << "each line ends in CR LF";
    return lines;
  }

  ScriptedMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  std::unique_ptr<MainWindow> window;
};

class Faults : public EndToEnd {};

TEST_F(EndToEnd, CheckOnEachFirmwareUnlocksItsFeaturesAndTheSettingsReachTheInstrument) {
  for (const auto& [firmware, wire, email] :
       {std::tuple{"1.00", QStringList{"VER?"}, false},
        {"1.10", QStringList{"VER?"}, true},
        {"1.20", QStringList{"VER?", "THRESHOLD?", "HYS?", "EMAIL?"}, true}}) {
    SCOPED_TRACE(firmware);
    Open({.instrument = {.firmware = firmware, .threshold = 90, .hysteresis = 5}});
    EXPECT_EQ(Wire(), wire);
    EXPECT_EQ(Shown("Version_Check") + " " + Shown("Label10"), "Complete " + QString(firmware));
    for (const auto& [name, enabled] : {std::pair{"Main_Frame", true},
                                        {"start", true},
                                        {"EMail", email},
                                        {"Version_Check", false}}) {
      EXPECT_EQ(Find(name)->isEnabled(), enabled) << name;
    }
    EXPECT_TRUE(messages.shown.empty());
  }
  // 1.20 has read the settings back; they switch and set in the instrument.
  EXPECT_EQ(Shown("Txt_Theshold") + Shown("Txt_Hysteresis"), "9005");
  for (const bool on : {true, false}) {
    Click("EMail");
    ASSERT_TRUE(WaitFor([&] { return sim->instrument().emailOn() == on && Idle(); }));
    EXPECT_EQ(Shown("EMail"), on ? "Ready" : "not Ready");
  }
  TypeInto("Txt_Theshold", "85");
  TypeInto("Txt_Hysteresis", "3");
  Click("EMail_Pramset");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().hysteresis() == 3 && Idle(); }));
  EXPECT_EQ(sim->instrument().threshold(), 85);
  EXPECT_EQ(Wire().mid(4), (QStringList{"EMAIL ON", "EMAIL OF", "THRESHOLD 85", "HYS 3"}));
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
  const QStringList purity = {"99.5", "95.0", "79.9"};
  for (qsizetype i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].mid(19), " " + purity.value(i, "70.0") + " 25.3 %&DEG") << i;
  }
  qint64 last = 0;  // the polls keep the interval
  for (const auto& entry : sim->trace()) {
    if (entry.command != "PURITY?") continue;
    EXPECT_NEAR(entry.msecsSinceEpoch - (last ? last : entry.msecsSinceEpoch - 1000), 1000, 200);
    last = entry.msecsSinceEpoch;
  }
  EXPECT_TRUE(messages.shown.empty());
}

// History files as an operator's machine may have them, and a log that fails
// mid-run: Check still works over loopback and the window says what failed.
TEST_F(EndToEnd, DamagedFilesAreReportedAndTheWindowGoesOn) {
  const std::string kMissing = "<missing>", kDirectory = "<directory>";
  const char* kWritten = "127.0.0.1,,,,,,\r\n";
  // host "": the design's; null: not looked at
  for (const auto& [bytes, host, box, ipAfter] :
       std::initializer_list<std::tuple<std::string, const char*, const char*, const char*>>{
           {kMissing, "", "", kWritten},
           {"", "", "", kWritten},
           {"10.0.0.1", "10.0.0.1", "", "127.0.0.1,10.0.0.1,,,,,\r\n"},
           {std::string(10 << 20, '7'), "", "", kWritten},
           {std::string("\x00\xff\x01,\x80\r\x1b\xfe\x02", 9), nullptr, "", nullptr},
           {"a,b,c,d,e,f,g,h,\r\n", "a", "", "127.0.0.1,a,b,c,d,f,\r\n"},
           {kDirectory, "",
            "Can't write ZRV-02_IPAddressList.Log !\nCan't write ZRV-02_PortList.Log !",
            nullptr}}) {
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
    const std::string design = ViewModel().HostIPEdit.text;
    if (host) {
      EXPECT_EQ(window->findChild<QComboBox*>("HostIPEdit")->currentText().toStdString(),
                *host ? host : design);
    }
    TypeInto("HostIPEdit", "127.0.0.1");
    TypeInto("HostPTEdit", QString::number(port));
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Stopped(); }));
    EXPECT_EQ(messages.shown, *box ? Texts{box} : Texts{});
    if (ipAfter) {
      EXPECT_EQ(ReadFileBytes(kIpHistoryFile), ipAfter);
    }
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) fs::remove_all(file);
  }
  for (const auto& [directory, file] : {std::pair{"", "run.log"}, {"/dev", "full"}}) {
    SCOPED_TRACE(file);
    Open({.instrument = {.firmware = "1.10"}});
    const fs::path doomed = fs::current_path() / "doomed";
    fs::create_directories(doomed);
    window->core().View().Dir1.text = *directory ? directory : doomed.string();
    window->renderNow();
    TypeInto("Txt_Interval", "1");
    TypeInto("Txt_Save_File", file);
    Click("start");
    if (!*directory) {
      ASSERT_TRUE(WaitFor([&] { return !ReadFileBytes((doomed / file).string()).empty(); }));
      fs::remove_all(doomed);
    }
    const qsizetype before = Wire().count("PURITY?");
    ASSERT_TRUE(WaitFor([&] { return Wire().count("PURITY?") >= before + 3; }, 8000));
    EXPECT_EQ(messages.notified, Texts{"Can't write log file !"});
    messages.notified.clear();
    Click("stop");
    ASSERT_TRUE(WaitFor([&] { return Stopped(); }));
  }
}

// Whatever the wire does, every answered pair reaches the log, whole, and a
// Single reply the history and not the log.
TEST_F(Faults, EveryAnsweredPairIsLoggedWholeAndASingleReplyIsShown) {
  const QRegularExpression pairLine(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d \d+\.\d 25\.3 %&DEG$)");
  // interval null: a Single HYS?
  for (const auto& [name, faults, interval, pairs] :
       std::initializer_list<std::tuple<const char*, sim::SimFaults, const char*, int>>{
           {"split", {.split = true}, "1", 2},
           {"joined", {.join = true}, "1", 2},
           {"late", {.replyDelayMs = 300}, "1", 2},
           {"late, long interval", {.replyDelayMs = 300}, "10", 1},
           {"Single", {}, nullptr, 0},
           {"late Single", {.replyDelayMs = 400}, nullptr, 0},
           {"closed after VER?, THRESHOLD?, HYS?", {.closeAfter = 3}, "1", 1}}) {
    SCOPED_TRACE(name);
    const bool cut = faults.closeAfter > 0;
    Open({.instrument = {.firmware = cut ? "1.20" : "1.10", .hysteresis = 7, .email = true},
          .faults = faults});
    // A cut read-out is abandoned with a box; Check reads the settings again.
    EXPECT_EQ(messages.shown, cut ? Texts{"Can't connected !"} : Texts{});
    EXPECT_EQ(Find("Version_Check")->isEnabled(), cut);
    messages.shown.clear();
    if (cut) sim->setFaults({});
    if (!interval) {
      WriteFileBytes("run.log", "kept\r\n");
      TypeInto("Txt_Save_File", "run.log");
      Click("Single_mode");
      TypeInto("Txt_Command", "HYS?");
      Click("start");
      EXPECT_TRUE(WaitFor([&] { return Shown("TxtBox_Reply").endsWith(" 07\n") && Stopped(); }));
      EXPECT_EQ(ReadFileBytes("run.log"), "kept\r\n");
      continue;
    }
    const QStringList lines = Run(interval, pairs);
    EXPECT_EQ(lines.size(), Wire().count("TEMP?"));
    for (const QString& line : lines) {
      EXPECT_TRUE(pairLine.match(line).hasMatch()) << line.toStdString();
    }
    EXPECT_TRUE(messages.shown.empty());
    if (!cut) continue;
    EXPECT_EQ(Shown("EMail"), "not Ready") << "no purity reply taken for the e-mail state";
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Idle() && Shown("EMail") == "Ready"; }));
    EXPECT_EQ(Wire().mid(Wire().size() - 3), QStringList({"THRESHOLD?", "HYS?", "EMAIL?"}));
    EXPECT_FALSE(Find("Version_Check")->isEnabled());
  }
}

TEST_F(Faults, AMebibyteOfNoiseInAReplyIsCutAndThePairsStayMatched) {
  QTcpServer peer;  // an instrument whose purity replies hold 1 MiB before the CR LF
  WriteLocalHistory(ListenLocally(peer));
  QObject::connect(&peer, &QTcpServer::newConnection, [&] {
    QTcpSocket* socket = peer.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, [socket] {
      for (const QByteArray& command : socket->readAll().split('\n')) {
        if (command.startsWith("VER?")) socket->write("1.10\r\n");
        if (command.startsWith("PURITY?")) socket->write(QByteArray(1 << 20, 'x') + "\r\n");
        if (command.startsWith("TEMP?")) socket->write("25.3DEG\r\n");
      }
    });
  });
  ShowWindowAndCheck();
  const QStringList lines = Run("1", 3);
  for (const QString& line : lines) {
    // Cut to 256 bytes with its CR LF; the log drops the three that would be "%" CR LF.
    EXPECT_EQ(line.mid(19), " " + QString(256 - 3, 'x') + " 25.3 %&DEG");
  }
}

}  // namespace
}  // namespace zrv::test
