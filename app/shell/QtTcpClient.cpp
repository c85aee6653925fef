#include "app/shell/QtTcpClient.h"

#include "link/HandlerError.h"

QtTcpClient::QtTcpClient(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::readyRead, this, &QtTcpClient::readyRead);
}

void QtTcpClient::SetRemoteHost(const std::string& host) {
  host_ = QString::fromStdString(host);
}

void QtTcpClient::SetRemotePort(std::int32_t port) {
  if (port < 0 || port > 65535) {
    throw zrv::SocketError(
        380, "Invalid property value: port " + std::to_string(port) + " is outside 0 to 65535");
  }
  port_ = static_cast<quint16>(port);
}

void QtTcpClient::Connect() {
  // A connect on an open or half-open socket starts over rather than fail.
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
  socket_.connectToHost(host_, port_);
}

void QtTcpClient::SendData(const std::string& data) {
  if (socket_.state() != QAbstractSocket::ConnectedState) {
    throw zrv::SocketError(zrv::kNotConnected,
                           "Wrong protocol or connection state for the requested transaction or "
                           "request");
  }
  socket_.write(data.data(), static_cast<qint64>(data.size()));
}

std::string QtTcpClient::GetData() {
  const QByteArray bytes = socket_.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtTcpClient::Close() {
  // Commands handed over just before a close still go out.
  socket_.flush();
  socket_.abort();
}
