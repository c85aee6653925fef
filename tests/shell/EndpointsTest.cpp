// The endpoints of the real window: what other paths, methods and hostile
// clients get from the metrics; promtool on what a run serves; Prometheus
// itself scraping the controller through a simulated run that the
// simulator's end ends; Debian's mbpoll reading the Modbus registers of the
// same run (the last logged record, function 03 as 04, the refusals as the
// exceptions it prints); frame by frame what mbpoll cannot send (other unit
// ids, malformed headers, functions 22 and 23, a frame in pieces); and a PLC
// that polled keeping its connection while others crowd in.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpSocket>
#include <QUrlQuery>
#include <array>
#include <memory>

#include "adapters/ControllerHost.h"
#include "adapters/MetricsEndpoint.h"
#include "adapters/ModbusEndpoint.h"
#include "shell/MainWindow.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

// Sends `request` and returns all that comes back until the server closes.
QByteArray Exchange(quint16 port, const QByteArray& request) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  socket.write(request);
  QByteArray response;
  QObject::connect(&socket, &QTcpSocket::readyRead, [&] { response += socket.readAll(); });
  const bool closed =
      QTest::qWaitFor([&] { return socket.state() == QTcpSocket::UnconnectedState; });
  return response + (closed ? "" : "(left open)");
}

// A program of the test's, ended with the test.
struct Program : QProcess {
  Program(const QString& path, const QStringList& arguments) {
    setProcessChannelMode(QProcess::MergedChannels);
    start(path, arguments);
  }
  ~Program() override {
    terminate();
    if (!waitForFinished()) kill(), waitForFinished();
  }
};

// The value of `query`'s first sample by Prometheus's HTTP API, "" for none.
QString Query(quint16 port, const QString& query) {
  QNetworkAccessManager network;
  QUrl url(QStringLiteral("http://127.0.0.1:%1/api/v1/query").arg(port));
  url.setQuery(QUrlQuery{{"query", query}});
  std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
  if (!QTest::qWaitFor([&] { return reply->isFinished(); })) return "(no answer)";
  const QJsonArray result = QJsonDocument::fromJson(reply->readAll())["data"]["result"].toArray();
  return result.isEmpty() ? "" : result[0]["value"][1].toString();
}

// What `mbpoll ARGUMENTS` printed (HOST standing for 127.0.0.1): the values
// read, or its complaint.
QString Mbpoll(quint16 port, const QString& arguments) {
  QProcess mbpoll;
  const QString line = QString("-m tcp -p %1 " + arguments).arg(port).replace("HOST", "127.0.0.1");
  mbpoll.start("mbpoll", line.split(' '));
  if (!QTest::qWaitFor([&] { return mbpoll.state() == QProcess::NotRunning; })) return "(no end)";
  QStringList read;
  for (const QString& out : QString(mbpoll.readAllStandardOutput()).split('\n'))
    if (out.startsWith('[')) read << out.section('\t', 1).section(' ', 0, 0);
  return (read.join(' ') + mbpoll.readAllStandardError()).trimmed();
}

// The registers at `port` as mbpoll reads them, in a run whose records are
// `logged` and whose purity has fallen below the alarm level.
void ExpectRegistersOfTheLastRecord(quint16 port, const QStringList& logged) {
  using namespace monitoring;
  const QString words = Mbpoll(port, "-1 -t 3 -c 15 HOST");
  EXPECT_EQ(Mbpoll(port, "-1 -t 4 -c 15 HOST"), words);
  const QStringList last = logged.last().split(' '), word = words.split(' ');
  EXPECT_EQ(Mbpoll(port, "-1 -t 3:float -B -c 2 HOST"), last[2] + ' ' + last[3]);
  const auto stamp = QDateTime::fromString(last[0] + ' ' + last[1], "yyyy/MM/dd hh:mm:ss");
  EXPECT_EQ(Mbpoll(port, "-1 -t 4:int -B -r 5 -c 2 HOST"),
            QStringLiteral("%1 %2").arg(logged.size()).arg(stamp.toSecsSinceEpoch()));
  // 800 and 1: the window's default alarm level, 80 %, and the interval set.
  EXPECT_EQ(word.mid(10), QStringList({"800", "1", word.value(12), "0", "0"}))
      << words.toStdString();
  // Run, alarm and firmware on, no value missing; the link may be either
  // while the controller calls the simulator again. Discrete input 5 is bit 5.
  EXPECT_EQ(word.value(12).toInt() & ~(1 << kLinkOpenBit),
            1 << kRunActiveBit | 1 << kPurityAlarmBit | 1 << kFirmwareCheckedBit);
  EXPECT_EQ(Mbpoll(port, "-1 -t 1 -r 6 HOST"), "1");

  const char *registers = "Write output (holding) register failed: Illegal function",
             *coils = "Write discrete output (coil) failed: Illegal function";
  const std::pair<const char*, const char*> refusals[] = {
      {"-t 4 HOST 5", registers},    // 06
      {"-t 4 HOST 5 6", registers},  // 16
      {"-t 0 HOST 1", coils},        // 05
      {"-t 0 HOST 1 0", coils},      // 15
      {"-1 -t 3 -r 15 -c 2 HOST", "Read input register failed: Illegal data address"},
      {"-1 -t 0 HOST", "Read discrete output (coil) failed: Illegal function"}};
  for (const auto& [arguments, complaint] : refusals)
    EXPECT_EQ(Mbpoll(port, arguments), complaint) << arguments;
}

TEST(EndpointsEndToEnd, HostileClientsPromtoolPrometheusAndMbpollThroughASimulatedRun) {
  // Ports for the simulator and Prometheus, held until the endpoint has its own.
  QTcpServer simProbe, prometheusProbe;
  const quint16 simPort = ListenLocally(simProbe), prometheusPort = ListenLocally(prometheusProbe);
  WriteLocalHistory(simPort);
  FakeMessageBox messages;
  shell::MainWindow window(messages);
  adapters::MetricsEndpoint endpoint(window.Host().Copy(), nullptr);
  QString error;
  const quint16 port =
      ListenLocally([&](quint16 p) { return endpoint.Listen(QHostAddress::LocalHost, p, error); });
  adapters::ModbusEndpoint modbus(window.Host(), nullptr);
  const quint16 modbusPort =
      ListenLocally([&](quint16 p) { return modbus.Listen(QHostAddress::LocalHost, p, error); });
  simProbe.close(), prometheusProbe.close();

  for (const auto& [request, status] : {std::pair{"GET /metric HTTP/1.1\r\n\r\n", "404"},
                                        std::pair{"POST /metrics HTTP/1.1\r\n\r\n", "405"},
                                        std::pair{"\x16\x03\x01\x02garbage\r\n\r\n", ""}}) {
    EXPECT_EQ(Exchange(port, request).mid(9, 3), status) << request;
  }
  // A flood of header bytes is cut off unanswered.
  EXPECT_EQ(Exchange(port, "GET /metrics HTTP/1.1\r\nX: " + QByteArray(1 << 20, 'x')), "");

  auto sim = std::make_unique<Program>(
      ZRV02_SIM_PATH, QStringList{"--port", QString::number(simPort), "--purity-ramp", "81,-0.7"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->readAll().contains("listening"); }));
  WriteFileBytes("prometheus.yml",
                 QStringLiteral("global: {scrape_interval: 1s}\n"
                                "scrape_configs: [{job_name: zrv02, static_configs: "
                                "[{targets: ['127.0.0.1:%1']}]}]\n")
                     .arg(port)
                     .toStdString());
  Program prometheus("prometheus",
                     {"--config.file=prometheus.yml", "--storage.tsdb.path=data",
                      QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(prometheusPort)});
  const auto query = [&](const QString& q) { return Query(prometheusPort, q); };
  ASSERT_TRUE(QTest::qWaitFor([&] { return query("up") == "1"; }, 20000))
      << prometheus.readAll().constData();

  ASSERT_TRUE(CheckAndStartOneSecondRun(window));
  const auto logged = [] {
    return QString::fromStdString(ReadFileBytes("zrv-02.log")).split("\r\n", Qt::SkipEmptyParts);
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return logged().size() >= 3; }, 10000));
  QProcess promtool;  // on all that a run serves: no error, no lint remark
  promtool.start("promtool", {"check", "metrics"});
  const QByteArray scrape = Exchange(port, "GET /metrics HTTP/1.1\r\n\r\n");
  promtool.write(scrape.mid(scrape.indexOf("\r\n\r\n") + 4));
  promtool.closeWriteChannel();
  ASSERT_TRUE(promtool.waitForFinished());
  EXPECT_EQ(QString::number(promtool.exitCode()) + promtool.readAll(), "0") << scrape.constData();
  EXPECT_TRUE(scrape.contains("zrv02_purity_ratio 0.")) << scrape.constData();
  EXPECT_TRUE(QTest::qWaitFor([&] { return query("zrv02_run_active") == "1"; }));
  sim.reset();
  // No record comes after the simulator's end: once Prometheus has them all,
  // the purity it stored is the last one logged.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return query("zrv02_records_total") == QString::number(logged().size()); }, 5000));
  EXPECT_EQ(query("zrv02_purity_ratio").toDouble(), logged().last().split(' ')[2].toDouble() / 100)
      << logged().join("\n").toStdString();
  ExpectRegistersOfTheLastRecord(modbusPort, logged());
  EXPECT_EQ(query("up"), "1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return query("zrv02_run_active") == "0"; }, 40000));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(ModbusEndpoint, FramesMbpollCannotSendAndAPlcKeepingItsConnection) {
  FakeMessageBox messages;
  adapters::ControllerHost host(messages);
  adapters::ModbusEndpoint endpoint(host, nullptr);
  QString error;
  const quint16 port =
      ListenLocally([&](quint16 p) { return endpoint.Listen(QHostAddress::LocalHost, p, error); });
  // Request segments (hex, apart by '|') on a new connection, the answer in
  // hex and whether the server closed it. Before any record only "value
  // missing" (bit 4) is on.
  const struct {
    const char *name, *request, *answer;
  } rows[] = {
      {"unit 255, input registers 12 and 13", "0007 0000 0006 FF 04 000C 0002",
       "00 07 00 00 00 07 FF 04 04 00 10 00 00"},
      {"another unit is not answered, the next request is",
       "0001 0000 0006 02 04 0000 0001 0002 0000 0006 01 03 000C 0001",
       "00 02 00 00 00 05 01 03 02 00 10"},
      {"discrete inputs in three segments", "0003 0000 00|06 01 02 00|00 0006",
       "00 03 00 00 00 04 01 02 01 10"},
      {"mask write", "0005 0000 0008 01 16 0000 FFFF 0000", "00 05 00 00 00 03 01 96 01"},
      {"read and write", "0006 0000 000D 01 17 0000 0001 0000 0001 02 0005",
       "00 06 00 00 00 03 01 97 01"},
      {"protocol id 1", "0008 0001 0006 01 04 0000 0001", "closed"},
      {"length 1", "0009 0000 0001 01", "closed"},
      {"length 255", "000A 0000 00FF 01", "closed"},
      {"function 0", "000B 0000 0002 01 00", "closed"},
      {"an exception's function code", "000C 0000 0006 01 84 0000 0001", "closed"},
      {"answered before garbage, then closed", "000D 0000 0006 01 04 000E 0001 1603 0102 0000 00",
       "00 0D 00 00 00 05 01 04 02 00 00 closed"}};
  for (const auto& row : rows) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    QByteArray answer;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { answer += socket.readAll(); });
    for (const QString& segment : QString(row.request).split('|'))
      socket.write(QByteArray::fromHex(segment.toLatin1())), QTest::qWait(50);
    const auto shown = [&] {
      return QString(answer.toHex(' ').toUpper() +
                     (socket.state() == QTcpSocket::UnconnectedState ? " closed" : ""))
          .trimmed();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == row.answer; }))
        << row.name << ": " << shown().toStdString();
  }

  // A PLC that polled keeps its connection while 16 others crowd in: the
  // first of them is closed.
  std::array<QTcpSocket, adapters::ModbusEndpoint::kMaxConnections + 1> clients;
  const auto polled = [&] {  // one register, answered in 11 bytes
    clients[0].write(QByteArray::fromHex("0001 0000 0006 01 04 0000 0001"));
    return QTest::qWaitFor([&] { return clients[0].bytesAvailable() == 11; }) &&
           clients[0].readAll().size();
  };
  for (auto& client : clients) {
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected() && (&client != &clients[0] || polled()));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return clients[1].state() == QTcpSocket::UnconnectedState; }));
  EXPECT_EQ(clients[2].state(), QTcpSocket::ConnectedState);
  EXPECT_TRUE(polled());
}

}  // namespace
}  // namespace zrv::test
