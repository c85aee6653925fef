#include <gtest/gtest.h>

#include <QProcess>
#include <QTcpSocket>
#include <memory>

#include "sim/Instrument.h"
#include "sim/SimServer.h"
#include "tests/app/shell/ShellTestSupport.h"

// g++ 12 at -O2 takes the default purity profile inside the case tables below
// for uninitialised on its exception path (a false -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace zrv::sim {
namespace {

using test::WaitFor;

TEST(Instrument, RepliesExactlyServesItsProfileAndSendsTheNoticeOncePerDip) {
  // Steps "command>reply" without the reply's CR LF; "+": the e-mail notice is due.
  const auto purity = [](PurityProfile profile) { return InstrumentConfig{.purity = profile}; };
  for (const auto& [config, script] :
       std::initializer_list<std::pair<InstrumentConfig, std::string>>{
           {{},
            "VER?>1.20;PURITY?>99.5%;TEMP?>25.3DEG;THRESHOLD?>90;HYS?>05;EMAIL?>OFF;THRESHOLD "
            "05>OK;THRESHOLD?>05;HYS 12>OK;HYS?>12;EMAIL ON>OK;EMAIL?>ON;EMAIL OF>OK;EMAIL?>OFF;"
            "ver?>Illegal Command!!;EMAIL OFF>Illegal Command!!;THRESHOLD 100>Illegal Command!!;"
            "THRESHOLD?>05;"},
           // Below the threshold fires, above threshold + hysteresis re-arms.
           {purity(PurityProfile::list({70, 70, 70, 90, 90.1, 80, 79.9})),
            "THRESHOLD 80>OK;HYS 10>OK;PURITY?>70.0%;EMAIL ON>OK;PURITY?>70.0%+;PURITY?>70.0%;"
            "PURITY?>90.0%;PURITY?>90.1%;PURITY?>80.0%;PURITY?>79.9%+;"},
           {purity(PurityProfile::list({150, -3, 42.26, 9.9})),
            "PURITY?>100.0%;PURITY?>0.0%;PURITY?>42.3%;PURITY?>9.9%;PURITY?>9.9%;"},
           {purity(PurityProfile::ramp(99.8, 0.1)),
            "PURITY?>99.8%;PURITY?>99.9%;PURITY?>100.0%;PURITY?>100.0%;"},
           {purity(PurityProfile::ramp(0.2, -0.1)), "PURITY?>0.2%;PURITY?>0.1%;PURITY?>0.0%;"},
           {purity(PurityProfile::ramp(95, -0.3)),
            "PURITY?>95.0%;PURITY?>94.7%;PURITY?>94.4%;PURITY?>94.1%;PURITY?>93.8%;PURITY?>93.5%;"},
       }) {
    Instrument instrument(config);
    std::string got;
    for (const QString& step : QString::fromStdString(script).split(';', Qt::SkipEmptyParts)) {
      const std::string command = step.section('>', 0, 0).toStdString();
      const InstrumentReply reply = instrument.handle(command);
      const bool crlf = reply.text.ends_with("\r\n");
      got += command + '>' + reply.text.substr(0, reply.text.size() - (crlf ? 2 : 0)) +
             (crlf ? "" : "(no CR LF)") + (reply.emailNotice ? "+;" : ";");
    }
    EXPECT_EQ(got, script);
  }
}

std::unique_ptr<SimServer> Listening(SimOptions options = {}) {
  auto server = std::make_unique<SimServer>(std::move(options));
  test::ListenLocally([&](quint16 port) { return server->listen(port); });
  return server;
}

// The test's end of a link: keeps every readyRead block apart, so that the
// tests can tell how the replies were cut into segments.
struct Link {
  explicit Link(quint16 port) {
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { blocks << socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, port);
  }
  QByteArray Exchange(const QByteArray& sent, qsizetype replyBytes) {
    socket.write(sent);  // one write: several commands in one segment
    EXPECT_TRUE(WaitFor([&] { return blocks.join().size() >= replyBytes; }, 2000));
    return blocks.join();
  }

  QTcpSocket socket;
  QList<QByteArray> blocks;
};

TEST(SimServer, RepliesAsTheFaultsSay) {
  const struct {
    SimOptions options;
    QByteArray sent, received;
    qsizetype traced, blocks;  // blocks the replies arrive in; 0: any
  } rows[] = {
      // clang-format off
      {{}, "THRESHOLD 95\r\nHYS 2\r\nTHRESHOLD?\r\n", "OK\r\nOK\r\n95\r\n", 3, 0},
      {{.faults = {.split = true}}, "VER?\r\n", "1.20\r\n", 1, 2},
      {{.faults = {.join = true}}, "VER?\r\nTEMP?\r\n", "1.20\r\n25.3DEG\r\n", 2, 1},
      {{.faults = {.closeAfter = 2}}, "VER?\r\nTEMP?\r\nHYS?\r\n", "1.20\r\n25.3DEG\r\n", 2, 0},
      {{.faults = {.silent = true}}, "THRESHOLD 33\r\nTHRESHOLD?\r\n", "", 2, 0},
      {{.faults = {.garbage = true}}, "VER?\r\n", "#?garbage\r\n", 1, 0},
      {{.instrument = {.email = true, .purity = PurityProfile::constant(80)}, .noticeDelayMs = 20},
       "PURITY?\r\n", "80.0%\r\nE-MAIL ALARM\r\n", 1, 2},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sent.toStdString());
    auto server = Listening(row.options);
    Link link(server->serverPort());
    EXPECT_EQ(link.Exchange(row.sent, row.received.size()), row.received);
    ASSERT_TRUE(WaitFor([&] { return server->trace().size() == row.traced; }));
    EXPECT_EQ(row.options.faults.silent ? server->instrument().threshold() : 33, 33);
    EXPECT_EQ(row.blocks ? link.blocks.size() : 0, row.blocks);
    const bool closes = row.options.faults.closeAfter > 0;
    EXPECT_TRUE(WaitFor(
        [&] { return (link.socket.state() == QAbstractSocket::UnconnectedState) == closes; }));
  }
}

TEST(SimServer, ConnectionsShareTheInstrumentAndTheTraceKeepsCommandsAsReceived) {
  auto server = Listening({.instrument = {.purity = PurityProfile::list({99, 98})}});
  Link first(server->serverPort()), second(server->serverPort());
  EXPECT_EQ(first.Exchange("THRESHOLD 42\r\nPURITY?\n", 11), "OK\r\n99.0%\r\n");
  EXPECT_EQ(second.Exchange("THRESHOLD?\r\nPURITY?\r\n\x01X\r\n", 30),
            "42\r\n98.0%\r\nIllegal Command!!\r\n");
  QStringList commands;
  for (const TraceEntry& entry : server->trace()) commands << entry.command;
  EXPECT_EQ(commands, (QStringList{"THRESHOLD 42", "PURITY?", "THRESHOLD?", "PURITY?", "\x01X"}));
}

TEST(SimExecutable, AnnouncesItselfAndReplies) {
  const quint16 port = Listening()->serverPort();  // free again once the server is gone
  QProcess sim;
  sim.start(ZRV02_SIM_PATH, {"--port", QString::number(port), "--firmware", "2.00"});
  const QByteArray announce = "zrv02-sim listening on 127.0.0.1:" + QByteArray::number(port) + "\n";
  QByteArray output;
  ASSERT_TRUE(WaitFor([&] { return (output += sim.readAllStandardOutput()).contains(announce); }))
      << output.toStdString() << sim.readAllStandardError().toStdString();
  EXPECT_EQ(Link(port).Exchange("VER?\r\n", 6), "2.00\r\n");
  sim.kill();
  EXPECT_TRUE(sim.waitForFinished(5000));
}

}  // namespace
}  // namespace zrv::sim
