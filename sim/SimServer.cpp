#include "sim/SimServer.h"

#include <QTcpSocket>
#include <cstdio>

#include "sim/SimConnection.h"
#include "sim/TraceLine.h"

namespace zrv::sim {

SimServer::SimServer(SimOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), instrument_(options_.instrument) {
  connect(&server_, &QTcpServer::newConnection, this, &SimServer::AcceptConnections);
}

bool SimServer::Listen(quint16 port) {
  return server_.listen(QHostAddress::LocalHost, port);
}

void SimServer::Close() {
  server_.close();
  qDeleteAll(findChildren<SimConnection*>(Qt::FindDirectChildrenOnly));
}

void SimServer::AcceptConnections() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    auto* connection = new SimConnection(socket, ++connections_, instrument_, options_, this);
    connect(connection, &SimConnection::commandReceived, this, &SimServer::Record);
  }
}

void SimServer::Record(int connection, qint64 msecsSinceEpoch, const QByteArray& command) {
  const QString text = QString::fromLatin1(command);
  trace_.append({msecsSinceEpoch, text});
  if (options_.printTrace) {
    std::printf("%s\n", qPrintable(TraceLine::Format(msecsSinceEpoch, connection, command)));
    std::fflush(stdout);
  }
  emit commandReceived(text);
}

}  // namespace zrv::sim
