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
  // The simulator on a free port below 32768; the port.
  quint16 Start(sim::SimOptions options) {
    sim = std::make_unique<sim::SimServer>(std::move(options));
    return ListenLocally([&](quint16 p) { return sim->listen(p); });
  }
  // The history files pointing at `port`, the window, and Check pressed.
  void Open(quint16 port) {
    WriteLocalHistory(port);
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
  // A Continue run into run.log until it holds `pairs` lines, then stop; the log's lines.
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
  // The version shown, the commands sent, Check's text; Main_Frame, start, EMail, Check enabled.
  for (const QString want : {"1.00 VER? Complete 1100", "1.10 VER? Complete 1110",
                             "1.20 VER?,THRESHOLD?,HYS?,EMAIL? Complete 1110"}) {
    Open(Start({.instrument = {
                    .firmware = want.left(4).toStdString(), .threshold = 90, .hysteresis = 5}}));
    QString got = Shown("Label10") + " " + Wire().join(",") + " " + Shown("Version_Check") + " ";
    for (auto name : {"Main_Frame", "start", "EMail", "Version_Check"})
      got += Find(name)->isEnabled() ? "1" : "0";
    EXPECT_EQ(got, want);
  }
  // 1.20 has read the settings back; they switch and set in the instrument.
  QString got = Shown("Txt_Theshold") + Shown("Txt_Hysteresis");
  for (const bool on : {true, false}) {
    Click("EMail");
    ASSERT_TRUE(WaitFor([&] { return sim->instrument().emailOn() == on && Idle(); }));
    got += " " + Shown("EMail");
  }
  TypeInto("Txt_Theshold", "85");
  TypeInto("Txt_Hysteresis", "3");
  Click("EMail_Pramset");
  ASSERT_TRUE(WaitFor([&] { return sim->instrument().hysteresis() == 3 && Idle(); }));
  EXPECT_EQ(
      got + " " + Wire().mid(4).join(",") + " " + QString::number(sim->instrument().threshold()),
      "9005 Ready not Ready EMAIL ON,EMAIL OF,THRESHOLD 85,HYS 3 85");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EndToEnd, AOneSecondContinueRunLogsEveryPairAndBlinksBelowTheLevel) {
  Open(Start({.instrument = {.firmware = "1.10",
                             .purity = sim::PurityProfile::list({99.5, 95.0, 79.9, 70.0})}}));
  std::set<QRgb> alarmColours;  // the indicator as drawn while the readings fall below 80
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout,
                   [&] { alarmColours.insert(DominantColor(*Find("Alarm_Display")).rgb()); });
  watch.start(50);
  const QStringList lines = Run("1", 4);
  EXPECT_TRUE(alarmColours.count(qRgb(255, 0, 0)) && alarmColours.count(qRgb(192, 255, 255)));
  const QStringList purity = {"99.5", "95.0", "79.9"};
  for (qsizetype i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].mid(19), " " + purity.value(i, "70.0") + " 25.3 %&DEG") << i;
  QList<qint64> polls;  // the polls keep the interval
  for (const auto& entry : sim->trace())
    if (entry.command == "PURITY?") polls << entry.msecsSinceEpoch;
  for (qsizetype i = 1; i < polls.size(); ++i) EXPECT_NEAR(polls[i] - polls[i - 1], 1000, 200);
  EXPECT_TRUE(messages.shown.empty());
}

// History files too big, binary or unwritable, and a log on a full device:
// Check still works over loopback and the window says what failed.
TEST_F(EndToEnd, DamagedFilesAreReportedAndTheWindowGoesOn) {
  const std::string kDirectory = "<directory>";
  for (const auto& [bytes, boxes] : std::initializer_list<std::pair<std::string, std::string>>{
           {std::string(10 << 20, '7'), ""},
           {std::string("\x00\xff\x01,\x80\r\x1b\xfe\x02", 9), ""},
           {kDirectory,
            "Can't write ZRV-02_IPAddressList.Log !\nCan't write ZRV-02_PortList.Log !"}}) {
    SCOPED_TRACE(bytes.substr(0, 20));
    messages.shown.clear();
    const quint16 port = Start({});
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) {
      fs::remove_all(file);
      bytes == kDirectory ? void(fs::create_directory(file)) : WriteFileBytes(file, bytes);
    }
    window = std::make_unique<MainWindow>(messages);
    TypeInto("HostIPEdit", "127.0.0.1");
    TypeInto("HostPTEdit", QString::number(port));
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Stopped() && Shown("Label10") == "1.20"; }));
    EXPECT_EQ(messages.shown, boxes.empty() ? Texts{} : Texts{boxes});
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) fs::remove_all(file);
  }
  Open(Start({.instrument = {.firmware = "1.10"}}));
  window->core().View().Dir1.text = "/dev";
  window->renderNow();
  TypeInto("Txt_Interval", "1");
  TypeInto("Txt_Save_File", "full");
  Click("start");
  ASSERT_TRUE(WaitFor([&] { return Wire().count("PURITY?") >= 3; }, 8000));
  EXPECT_EQ(messages.notified, Texts{"Can't write log file !"}) << "once, not once a poll";
  Click("stop");
  ASSERT_TRUE(WaitFor([&] { return Stopped(); }));
}

// Whatever the wire does, every answered pair reaches the log, whole, and a
// Single reply the history and not the log.
TEST_F(Faults, EveryAnsweredPairIsLoggedWholeAndASingleReplyIsShown) {
  const QRegularExpression pairLine(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d \d+\.\d 25\.3 %&DEG$)");
  // interval null: a Single HYS?
  for (const auto& [faults, interval, pairs] :
       std::initializer_list<std::tuple<sim::SimFaults, const char*, int>>{
           {{.replyDelayMs = 300, .split = true, .join = true}, "1", 2},
           {{.replyDelayMs = 300}, "10", 1},
           {{.replyDelayMs = 400}, nullptr, 0},
           {{.closeAfter = 3}, "1", 1}}) {  // after VER?, THRESHOLD?, HYS?
    SCOPED_TRACE(interval ? interval : "Single");
    const bool cut = faults.closeAfter > 0;
    Open(Start({.instrument = {.firmware = cut ? "1.20" : "1.10", .hysteresis = 7, .email = true},
                .faults = faults}));
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
    for (const QString& line : lines)
      EXPECT_TRUE(pairLine.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(messages.shown.empty());
    if (!cut) continue;
    EXPECT_EQ(Shown("EMail"), "not Ready") << "no purity reply taken for the e-mail state";
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Idle() && Shown("EMail") == "Ready"; }));
    EXPECT_EQ(
        Wire().mid(Wire().size() - 3).join(",") + (Find("Version_Check")->isEnabled() ? " on" : ""),
        "THRESHOLD?,HYS?,EMAIL?");
  }
}

TEST_F(Faults, AMebibyteOfNoiseInAReplyIsCutAndThePairsStayMatched) {
  QTcpServer peer;  // an instrument whose purity replies hold 1 MiB before the CR LF
  const quint16 port = ListenLocally(peer);
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
  Open(port);
  // Cut to 256 bytes with its CR LF; the log drops the three that would be "%" CR LF.
  for (const QString& line : Run("1", 3))
    EXPECT_EQ(line.mid(19), " " + QString(256 - 3, 'x') + " 25.3 %&DEG");
}

}  // namespace
}  // namespace zrv::test
