#include "app/shell/MetricsTcpServer.h"

#include <QTcpSocket>
#include <QTimer>

void MetricsTcpServer::incomingConnection(qintptr descriptor) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(descriptor) || open_ >= kMaxConnections) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  ++open_;
  connect(socket, &QObject::destroyed, this, [this] { --open_; });
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  QTimer::singleShot(kConnectionLifetimeMs, socket, &QTcpSocket::abort);
  // Connected before the HTTP server's own reader, so this sees every byte
  // before the server buffers it.
  connect(socket, &QTcpSocket::readyRead, socket, [socket, received = qint64{0}]() mutable {
    received += socket->bytesAvailable();
    if (received > kMaxRequestBytes) socket->abort();
  });
  addPendingConnection(socket);
}
