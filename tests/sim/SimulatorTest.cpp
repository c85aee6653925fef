#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <tuple>

#include "sim/Instrument.h"
#include "sim/SimServer.h"
#include "tests/shell/ShellTestSupport.h"

// g++ 12 at -O2 takes the default purity profile inside the case tables below
// for uninitialised on its exception path (a false -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace zrv::sim {
namespace {

TEST(Instrument, RepliesExactlyServesItsProfileAndSendsTheNoticeOncePerDip) {
  // Steps "command>reply;" with ";" for the reply's CR LF and no command for PURITY?;
  // "+>": the e-mail notice is due. Below the threshold fires, above it + hysteresis re-arms.
  for (const auto& [config, script] : std::initializer_list<std::pair<InstrumentConfig, QString>>{
           {{},
            "VER?>1.20;>99.5%;TEMP?>25.3DEG;THRESHOLD?>90;HYS?>05;EMAIL?>OFF;THRESHOLD 05>OK;"
            "THRESHOLD?>05;HYS 12>OK;HYS?>12;EMAIL ON>OK;EMAIL?>ON;EMAIL OF>OK;EMAIL?>OFF;ver?>"
            "Illegal Command!!;EMAIL OFF>Illegal Command!!;THRESHOLD 100>Illegal Command!!;"
            "THRESHOLD?>05;"},
           {{.purity = PurityProfile::List({70, 70, 70, 90, 90.1, 80, 79.9, 150, -3, 42.26})},
            "THRESHOLD 80>OK;HYS 10>OK;>70.0%;EMAIL ON>OK;+>70.0%;>70.0%;>90.0%;>90.1%;>80.0%;"
            "+>79.9%;>100.0%;+>0.0%;>42.3%;>42.3%;"},
           {{.purity = PurityProfile::Ramp(99.8, 0.1)}, ">99.8%;>99.9%;>100.0%;>100.0%;"},
           {{.purity = PurityProfile::Ramp(0.2, -0.1)}, ">0.2%;>0.1%;>0.0%;>0.0%;"}}) {
    Instrument instrument(config);
    QString got;
    for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
      const std::string command = step.section(QRegularExpression(R"(\+?>)"), 0, 0).toStdString();
      const auto [text, notice] = instrument.Handle(command.empty() ? "PURITY?" : command);
      got += QString::fromStdString(command + (notice ? "+>" : ">") + text).replace("\r\n", ";");
    }
    EXPECT_EQ(got, script);
  }
}

// The test's end of a link: sends `sent` in one segment and keeps every readyRead
// block apart, so that the tests can tell how the replies were cut into segments.
struct Link {
  Link(quint16 port, const QByteArray& sent) {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { blocks << socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(sent);
  }
  QTcpSocket socket;
  QList<QByteArray> blocks;
};

TEST(SimServer, RepliesAsTheFaultsSay) {
  // The replies, the commands traced, the segments the replies came in (0: any), whether the
  // link was closed, and the threshold afterwards.
  using After = std::tuple<QByteArray, qsizetype, qsizetype, bool, int>;
  // clang-format off
  const std::tuple<SimOptions, QByteArray, After> rows[] = {
      {{.faults = {.split = true}}, "VER?\r\n", {"1.20\r\n", 1, 2, false, 90}},
      {{.faults = {.mute = "VER?", .lineEnd = "\r"}}, "VER?\r\nTEMP?\r\n", {"25.3DEG\r", 2, 0, false, 90}},
      {{.faults = {.join = true}}, "VER?\r\nTEMP?\r\n", {"1.20\r\n25.3DEG\r\n", 2, 1, false, 90}},
      {{.faults = {.closeAfter = 2}}, "VER?\r\nTEMP?\r\nHYS?\r\n", {"1.20\r\n25.3DEG\r\n", 2, 0, true, 90}},
      {{.faults = {.silent = true}}, "THRESHOLD 33\r\nTHRESHOLD?\r\n", {"", 2, 0, false, 33}},
      {{.faults = {.garbage = true}}, "VER?\r\n", {"#?garbage\r\n", 1, 0, false, 90}},
      {{.instrument = {.email = true, .purity = PurityProfile::Constant(80)}, .noticeDelayMs = 20},
       "PURITY?\r\n", {"80.0%\r\nE-MAIL ALARM\r\n", 1, 2, false, 90}},
  };
  // clang-format on
  for (const auto& [options, sent, after] : rows) {
    SimServer server(options);
    Link link(test::ListenLocally([&](quint16 port) { return server.Listen(port); }), sent);
    const auto now = [&, segments = std::get<2>(after)] {
      return After(link.blocks.join(), server.Trace().size(), segments ? link.blocks.size() : 0,
                   link.socket.state() == QAbstractSocket::UnconnectedState,
                   server.SharedInstrument().Threshold());
    };
    EXPECT_TRUE(QTest::qWaitFor([&, want = after] { return now() == want; }, 2000))
        << sent.toStdString() << testing::PrintToString(now());
  }
}

// The program itself; its connections share one instrument and end commands at LF.
TEST(SimExecutable, AnnouncesItselfAndItsConnectionsShareTheInstrument) {
  const quint16 port = test::ListenLocally(
      [](quint16 p) { return QTcpServer().listen(QHostAddress::LocalHost, p); });
  QProcess sim;
  sim.start(ZRV02_SIM_PATH, {"--port", QString::number(port), "--firmware", "2.00"});
  ASSERT_TRUE(sim.waitForReadyRead());
  EXPECT_EQ(sim.readAllStandardOutput(),
            "zrv02-sim listening on 127.0.0.1:" + QByteArray::number(port) + "\n");
  Link first(port, "THRESHOLD 42\r\nPURITY?\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.blocks.join() == "OK\r\n99.5%\r\n"; }));
  Link second(port, "VER?\r\nTHRESHOLD?\r\n\x01X\r\n");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return second.blocks.join() == "2.00\r\n42\r\nIllegal Command!!\r\n"; }));
}

}  // namespace
}  // namespace zrv::sim
