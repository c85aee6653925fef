#include "shell/MetricsEndpoint.h"

#include <QDateTime>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>

#include "shell/MainWindow.h"
#include "shell/MetricsTcpServer.h"

namespace zrv::shell {

namespace {

using Status = QHttpServerResponder::StatusCode;

void Answer(QHttpServerResponder&& responder, const QByteArray& body, const char* type,
            Status status) {
  responder.write(body, {{"Content-Type", type}, {"Connection", "close"}}, status);
}

// The log's stamps are local time, as the clock port writes them.
std::optional<double> SecondsSinceEpoch(const std::string& stamp) {
  const QDateTime time =
      QDateTime::fromString(QString::fromStdString(stamp), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  if (!time.isValid()) return std::nullopt;
  return static_cast<double>(time.toSecsSinceEpoch());
}

}  // namespace

MetricsEndpoint::MetricsEndpoint(MainWindow& window)
    : QAbstractHttpServer(&window), window_(window), tcp_(new MetricsTcpServer(this)) {
  connect(&window, &MainWindow::rendered, this, &MetricsEndpoint::TakeSnapshot);
  TakeSnapshot();
}

quint16 MetricsEndpoint::Listen(const QHostAddress& address, quint16 port, QString& error) {
  if (!tcp_->listen(address, port)) {
    error = tcp_->errorString();
    return 0;
  }
  bind(tcp_);
  return tcp_->serverPort();
}

void MetricsEndpoint::TakeSnapshot() {
  zrv::SvZRV_02& core = window_.Core();
  const zrv::SvGlobal01B& g = core.State();
  const zrv::RunCounters& counters = core.Counters();
  zrv::monitoring::MetricsSnapshot& s = snapshot_;
  const bool running = g.ContinuousRun == zrv::kTrue;
  if (running && !s.runActive) s.runStartTime = QDateTime::currentSecsSinceEpoch();
  s.runActive = running;
  s.purityPercent = counters.purity;
  s.temperatureCelsius = counters.temperature;
  s.recordTime = SecondsSinceEpoch(counters.recordTime);
  s.records = counters.records;
  s.emailAlarmNotices = counters.emailAlarmNotices;
  s.replyTimeouts = counters.replyTimeouts;
  s.failedLogAppends = counters.failedLogAppends;
  s.lostRecords = counters.lostRecords;
  s.unreadablePurities = counters.unreadablePurities;
  s.unreadableTemperatures = counters.unreadableTemperatures;
  s.linkOpen = g.LinkOpen == zrv::kTrue;
  s.purityAlarm = g.AlarmActive == zrv::kTrue;
  s.alarmLevelPercent = g.AlarmLevel;
  s.intervalSeconds = g.IntervalSeconds;
  s.firmware = g.VersionPending == 0 ? core.View().Label10.text : std::string();
  s.address =
      g.HostAddress.empty() ? std::string() : g.HostAddress + ':' + std::to_string(g.HostPort);
}

bool MetricsEndpoint::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  if (request.url().path() != QLatin1String("/metrics")) return false;
  if (request.method() != QHttpServerRequest::Method::Get) {
    Answer(makeResponder(request, socket), "Method Not Allowed\n", "text/plain",
           Status::MethodNotAllowed);
  } else {
    Answer(makeResponder(request, socket),
           QByteArray::fromStdString(zrv::monitoring::FormatExposition(snapshot_)),
           zrv::monitoring::kExpositionContentType, Status::Ok);
  }
  socket->disconnectFromHost();
  return true;
}

void MetricsEndpoint::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  Answer(makeResponder(request, socket), "Not Found\n", "text/plain", Status::NotFound);
  socket->disconnectFromHost();
}

}  // namespace zrv::shell
