// The listening socket of the metrics endpoint, with limits that keep a
// misbehaving client from costing the controller memory or time: at most
// kMaxConnections at once (a new one closes the oldest, so a scraper that
// comes and goes gets through clients that hold connections open), each
// closed after kConnectionLifetimeMs, or as soon as it has sent more than
// kMaxRequestBytes. The endpoint answers one request per connection, so a
// scrape needs a fraction of these; a client that sends half a request and
// stalls, or a flood of bytes, is cut off and its memory returned.
#pragma once

#include <QList>
#include <QTcpServer>

class QTcpSocket;

namespace zrv::adapters {

class MetricsTcpServer : public QTcpServer {
  Q_OBJECT

 public:
  static constexpr int kMaxConnections = 16;
  static constexpr int kConnectionLifetimeMs = 10000;
  static constexpr qint64 kMaxRequestBytes = 16 * 1024;

  using QTcpServer::QTcpServer;
  ~MetricsTcpServer() override;

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  QList<QTcpSocket*> open_;  // oldest first
};

}  // namespace zrv::adapters
