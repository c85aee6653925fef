// An imperfect network between the window and the instrument: replies cut
// into segments, joined, late, over-long, and a link that drops mid-way.
// Whatever the wire does, every answered pair reaches the log, whole.
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <fstream>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/shell/MainWindow.h"
#include "sim/SimServer.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

// The real window on the real event loop, over loopback to the simulator
// running in the same process with its fault switches set.
class FaultsEndToEnd : public testing::Test {
 protected:
  void Open(sim::SimOptions options) {
    sim = std::make_unique<sim::SimServer>(std::move(options));
    WriteLocalHistory(ListenLocally([&](quint16 p) { return sim->listen(p); }));
    window = std::make_unique<MainWindow>(messages);
  }
  QWidget* Find(const char* name) { return window->findChild<QWidget*>(name); }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  void TypeInto(const char* name, const QString& text) {
    auto* field = window->findChild<QLineEdit*>(name);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }
  void CheckVersion() {
    Click("Version_Check");
    ASSERT_TRUE(WaitFor([&] { return Idle() && !Find("Version_Check")->isEnabled(); }));
  }
  QStringList Wire() const {
    QStringList commands;
    for (const auto& entry : sim->trace()) commands << entry.command;
    return commands;
  }
  int Count(const QString& command) const { return static_cast<int>(Wire().count(command)); }
  bool Idle() const { return !window->timer1().Enabled(); }
  ViewModel& vm() { return window->core().View(); }

  // A Continue run of `pairs` pairs, then stop; returns the log's lines.
  QStringList RunPairs(const QString& interval, int pairs) {
    TypeInto("Txt_Interval", interval);
    TypeInto("Txt_Save_File", "faults.log");
    Click("start");
    EXPECT_TRUE(WaitFor([&] { return Count("TEMP?") >= pairs; }, 8000 + 12000 * (pairs - 1)));
    // A long interval closes the link between polls; stop only once it has.
    if (interval.toInt() >= 10) {
      EXPECT_TRUE(WaitFor([&] { return vm().TCP_Condition.backColor == kWhite; }));
    }
    Click("stop");
    EXPECT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }, 10000));
    return QString::fromStdString(ReadFileBytes("faults.log")).split("\r\n", Qt::SkipEmptyParts);
  }

  ScriptedMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  std::unique_ptr<MainWindow> window;
};

const QRegularExpression kPairLine(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d \d+\.\d 25\.3 %&DEG$)");

struct WireCase {
  const char* name;
  sim::SimFaults faults;
  const char* interval;
  int pairs;
};

class WireFaults : public FaultsEndToEnd, public testing::WithParamInterface<WireCase> {};

TEST_P(WireFaults, EveryAnsweredPairIsLoggedWhole) {
  Open({.instrument = {.firmware = "1.10"}, .faults = GetParam().faults});
  CheckVersion();
  const QStringList lines = RunPairs(GetParam().interval, GetParam().pairs);
  EXPECT_EQ(lines.size(), Count("TEMP?"));
  for (const QString& line : lines)
    EXPECT_TRUE(kPairLine.match(line).hasMatch()) << line.toStdString();
  EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Network, WireFaults,
                         testing::Values(WireCase{"split", {.split = true}, "1", 3},
                                         WireCase{"joined", {.join = true}, "1", 3},
                                         WireCase{"late", {.replyDelayMs = 300}, "1", 3},
                                         WireCase{
                                             "lateLongInterval", {.replyDelayMs = 300}, "10", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultsEndToEnd, ALateSingleReplyStillReachesTheHistory) {
  Open({.instrument = {.firmware = "1.10", .hysteresis = 7}, .faults = {.replyDelayMs = 400}});
  CheckVersion();
  Click("Single_mode");
  TypeInto("Txt_Command", "HYS?");
  Click("start");
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, 8000));
  EXPECT_TRUE(QString::fromStdString(vm().TxtBox_Reply.text).contains(" 07\r\n"));
}

TEST_F(FaultsEndToEnd, ACutReadOutLeaksIntoNothingAndCanBeReadAgain) {
  // The instrument hangs up after three replies: VER?, THRESHOLD?, HYS?.
  Open({.instrument = {.firmware = "1.20", .threshold = 90, .hysteresis = 5, .email = true},
        .faults = {.closeAfter = 3}});
  Click("Version_Check");
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Can't connected !"});
  ASSERT_TRUE(Find("Version_Check")->isEnabled()) << "Check reads the settings again";

  sim->setFaults({});
  const QStringList lines = RunPairs("1", 1);
  ASSERT_EQ(lines.size(), Count("TEMP?"));
  EXPECT_TRUE(kPairLine.match(lines.first()).hasMatch()) << lines.first().toStdString();
  EXPECT_EQ(vm().EMail.text, "not Ready") << "no purity reply taken as the e-mail state";

  Click("Version_Check");
  ASSERT_TRUE(WaitFor([&] { return Idle() && vm().EMail.text == "Ready"; }));
  EXPECT_EQ(Wire().mid(Wire().size() - 3), QStringList({"THRESHOLD?", "HYS?", "EMAIL?"}));
  EXPECT_FALSE(Find("Version_Check")->isEnabled());
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:" && status >> value) return value;
  }
  return 0;
}

TEST_F(FaultsEndToEnd, AnOverlongReplyIsCutAndMemoryStaysFlat) {
  // A hand-made instrument whose purity replies come with 1 MiB of noise.
  QTcpServer peer;
  const quint16 port = ListenLocally(peer);
  WriteLocalHistory(port);
  window = std::make_unique<MainWindow>(messages);
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
  CheckVersion();
  const long before = ResidentKiB();
  TypeInto("Txt_Interval", "1");
  TypeInto("Txt_Save_File", "faults.log");
  Click("start");
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes("faults.log").size() > 3 * 256; }, 10000));
  Click("stop");
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, 10000));
  for (const QString& line :
       QString::fromStdString(ReadFileBytes("faults.log")).split("\r\n", Qt::SkipEmptyParts)) {
    EXPECT_LE(line.size(), 20 + 256 + 8);
    EXPECT_TRUE(line.endsWith(" 25.3 %&DEG")) << "pairs stay matched";
  }
  EXPECT_LT(ResidentKiB() - before, 20 * 1024);
}

}  // namespace
}  // namespace zrv::test
