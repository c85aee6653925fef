#include "adapters/MetricsEndpoint.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>

#include "adapters/MetricsTcpServer.h"

namespace zrv::adapters {

namespace {

using Status = QHttpServerResponder::StatusCode;

void Answer(QHttpServerResponder&& responder, const QByteArray& body, const char* type,
            Status status) {
  responder.write(body, {{"Content-Type", type}, {"Connection", "close"}}, status);
}

}  // namespace

MetricsEndpoint::MetricsEndpoint(const zrv::monitoring::StateCopy& copy, QObject* parent)
    : QAbstractHttpServer(parent), copy_(copy), tcp_(new MetricsTcpServer(this)) {}

quint16 MetricsEndpoint::Listen(const QHostAddress& address, quint16 port, QString& error) {
  if (!tcp_->listen(address, port)) {
    error = tcp_->errorString();
    return 0;
  }
  bind(tcp_);
  return tcp_->serverPort();
}

bool MetricsEndpoint::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  if (request.url().path() != QLatin1String("/metrics")) return false;
  if (request.method() != QHttpServerRequest::Method::Get) {
    Answer(makeResponder(request, socket), "Method Not Allowed\n", "text/plain",
           Status::MethodNotAllowed);
  } else {
    Answer(makeResponder(request, socket),
           QByteArray::fromStdString(zrv::monitoring::FormatExposition(copy_)),
           zrv::monitoring::kExpositionContentType, Status::Ok);
  }
  socket->disconnectFromHost();
  return true;
}

void MetricsEndpoint::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  Answer(makeResponder(request, socket), "Not Found\n", "text/plain", Status::NotFound);
  socket->disconnectFromHost();
}

bool ServeMetrics(const char* program, const ListenSetting& setting,
                  const zrv::monitoring::StateCopy& copy, QObject* parent) {
  return StartEndpointOf<MetricsEndpoint>(program, setting, "metrics at http://%1/metrics", copy,
                                          parent);
}

}  // namespace zrv::adapters
