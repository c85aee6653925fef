// Serves the controller's state to Prometheus at /metrics, on the program's
// own event loop. A scrape formats the state copy, taken after every handler
// (and before any box a handler raises), so it never sees a handler's work
// half done and can change nothing. Any other path gets 404, any other
// method 405. Each answer closes its connection.
#pragma once

#include <QAbstractHttpServer>
#include <QHostAddress>

#include "adapters/ListenSetting.h"
#include "monitoring/MetricsExposition.h"

namespace zrv::adapters {

class MetricsTcpServer;

class MetricsEndpoint : public QAbstractHttpServer {
  Q_OBJECT

 public:
  // Serves `copy`, which outlives it.
  MetricsEndpoint(const zrv::monitoring::StateCopy& copy, QObject* parent);

  // Listens on `address`; returns the port taken (the one asked for, or a
  // free one for port 0), or 0 with the reason in `error`.
  quint16 Listen(const QHostAddress& address, quint16 port, QString& error);

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  const zrv::monitoring::StateCopy& copy_;
  MetricsTcpServer* tcp_;
};

// Starts an endpoint serving `copy` (a child of `parent`) as `setting` says,
// telling on stderr as `program` where it serves or why not (see
// StartEndpoint). False for a malformed option, a usage error.
bool ServeMetrics(const char* program, const ListenSetting& setting,
                  const zrv::monitoring::StateCopy& copy, QObject* parent);

}  // namespace zrv::adapters
