#include "adapters/MetricsTcpServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace zrv::adapters {

MetricsTcpServer::~MetricsTcpServer() {
  // QTcpServer's own destructor deletes connections not yet taken, after
  // open_ is gone: they must not report to it.
  for (QTcpSocket* socket : findChildren<QTcpSocket*>()) socket->disconnect(this);
}

void MetricsTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor)) {
    delete socket;
    return;
  }
  if (open_.size() >= kMaxConnections) open_.takeFirst()->abort();
  open_.append(socket);
  connect(socket, &QObject::destroyed, this, [this, socket] { open_.removeOne(socket); });
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  // A timer of the socket's own, gone with it; a single-shot call's timer
  // would outlive every short connection by the whole lifetime.
  auto* lifetime = new QTimer(socket);
  lifetime->setSingleShot(true);
  connect(lifetime, &QTimer::timeout, socket, &QTcpSocket::abort);
  lifetime->start(kConnectionLifetimeMs);
  // Connected before the HTTP server's own reader, so this sees every byte
  // before the server buffers it.
  connect(socket, &QTcpSocket::readyRead, socket, [socket, received = qint64{0}]() mutable {
    received += socket->bytesAvailable();
    if (received > kMaxRequestBytes) socket->abort();
  });
  addPendingConnection(socket);
}

}  // namespace zrv::adapters
