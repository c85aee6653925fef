#include "adapters/QtTcpClient.h"

#include <QScopedValueRollback>
#include <limits>

#include "core/HandlerError.h"

namespace zrv::adapters {

QtTcpClient::QtTcpClient(QObject* parent) : QObject(parent) {
  quiet_.setSingleShot(true);
  quiet_.setTimerType(Qt::PreciseTimer);
  quiet_.setInterval(kQuietMs);
  connect(&quiet_, &QTimer::timeout, this, [this] {
    framer_.FlushPartial();
    if (framer_.HasReply()) emit replyReady();
  });
  connect(&socket_, &QTcpSocket::readyRead, this, &QtTcpClient::ReadReceived);
  connect(&socket_, &QAbstractSocket::errorOccurred, this,
          [this] { lastError_ = socket_.errorString(); });
  connect(&socket_, &QAbstractSocket::disconnected, this, [this] {
    if (dropping_) return;
    ReadReceived();
    framer_.EndStream();
    quiet_.stop();
    peerClosed_ = true;
    if (framer_.HasReply()) emit replyReady();
    emit peerClosed();
  });
}

QtTcpClient::~QtTcpClient() {
  // The socket, going last, says it disconnected to a client already half gone.
  socket_.disconnect(this);
}

void QtTcpClient::ReadReceived() {
  // A socket that never connected has nothing to read (and says so on stderr).
  if (!socket_.isOpen()) return;
  const QByteArray bytes = socket_.readAll();
  if (bytes.isEmpty()) return;
  framer_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (framer_.HasPartial()) {
    quiet_.start();
  } else {
    quiet_.stop();
  }
  if (framer_.HasReply()) emit replyReady();
}

void QtTcpClient::SetRemoteHost(const std::string& host) {
  host_ = QString::fromStdString(host);
}

void QtTcpClient::SetRemotePort(std::int32_t port) {
  constexpr std::int32_t kWidestPort = std::numeric_limits<quint16>::max();
  if (port < 0 || port > kWidestPort) {
    throw zrv::SocketError(zrv::kInvalidPropertyValue,
                           "Invalid property value: port " + std::to_string(port) +
                               " is outside 0 to " + std::to_string(kWidestPort));
  }
  port_ = static_cast<quint16>(port);
}

void QtTcpClient::Connect() {
  // A connect on an open or half-open socket starts over rather than fail.
  if (socket_.state() != QAbstractSocket::UnconnectedState) Drop();
  lastError_.clear();
  peerClosed_ = false;
  socket_.connectToHost(host_, port_);
}

void QtTcpClient::SendData(const std::string& data) {
  if (socket_.state() != QAbstractSocket::ConnectedState) {
    const QString why = !lastError_.isEmpty() ? lastError_
                        : socket_.state() == QAbstractSocket::UnconnectedState
                            ? QStringLiteral("not connected")
                            : QStringLiteral("the connection is still being made");
    throw zrv::SocketError(zrv::kNotConnected, why.toStdString());
  }
  const auto size = static_cast<qint64>(data.size());
  if (socket_.write(data.data(), size) != size) {
    throw zrv::SocketError(zrv::kSendIncomplete, "The socket did not take the whole command");
  }
}

std::string QtTcpClient::GetData() {
  return framer_.TakeReply();
}

void QtTcpClient::Close() {
  // Commands handed over just before a close still go out.
  socket_.flush();
  Drop();
}

void QtTcpClient::Drop() {
  ReadReceived();
  // The line will not go on on this connection.
  quiet_.stop();
  framer_.EndStream();
  if (framer_.HasReply()) emit replyReady();
  const QScopedValueRollback<bool> dropping(dropping_, true);
  socket_.abort();
  peerClosed_ = false;
}

}  // namespace zrv::adapters
