// The metrics endpoint of the real window: what other paths, methods and
// hostile clients get; promtool on what a run serves; and Prometheus itself
// scraping the controller through a simulated run that the simulator's end ends.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpSocket>
#include <QUrlQuery>
#include <memory>

#include "adapters/MetricsEndpoint.h"
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

TEST(MetricsEndToEnd, HostileClientsPromtoolAndPrometheusThroughASimulatedRun) {
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
  simProbe.close(), prometheusProbe.close();

  for (const auto& [request, status] : {std::pair{"GET /metric HTTP/1.1\r\n\r\n", "404"},
                                        std::pair{"POST /metrics HTTP/1.1\r\n\r\n", "405"},
                                        std::pair{"\x16\x03\x01\x02garbage\r\n\r\n", ""}}) {
    EXPECT_EQ(Exchange(port, request).mid(9, 3), status) << request;
  }
  // A flood of header bytes is cut off unanswered.
  EXPECT_EQ(Exchange(port, "GET /metrics HTTP/1.1\r\nX: " + QByteArray(1 << 20, 'x')), "");

  auto sim = std::make_unique<Program>(
      ZRV02_SIM_PATH, QStringList{"--port", QString::number(simPort), "--purity-ramp", "90,-0.7"});
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

  const auto click = [&](const char* name) {
    QTest::mouseClick(window.findChild<QWidget*>(name), Qt::LeftButton);
  };
  click("Version_Check");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Timer1().Enabled(); }));
  window.findChild<QLineEdit*>("Txt_Interval")->selectAll();
  QTest::keyClicks(window.findChild<QWidget*>("Txt_Interval"), "1");
  click("start");
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
  EXPECT_EQ(query("up"), "1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return query("zrv02_run_active") == "0"; }, 40000));
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace zrv::test
