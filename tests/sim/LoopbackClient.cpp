#include "LoopbackClient.h"

#include <QHostAddress>
#include <QTest>

namespace zrv::sim {

LoopbackClient::LoopbackClient(quint16 port) {
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { blocks_.append(socket_.readAll()); });
  socket_.connectToHost(QHostAddress::LocalHost, port);
  connected_ = QTest::qWaitFor(
      [this] { return socket_.state() == QAbstractSocket::ConnectedState; }, kTimeoutMs);
}

void LoopbackClient::send(const QByteArray& bytes) {
  socket_.write(bytes);
  socket_.flush();
}

void LoopbackClient::close() {
  socket_.disconnectFromHost();
}

bool LoopbackClient::waitForBytes(qsizetype count) {
  return QTest::qWaitFor([&] { return received().size() >= count; }, kTimeoutMs);
}

bool LoopbackClient::waitForBlocks(qsizetype count) {
  return QTest::qWaitFor([&] { return blocks_.size() >= count; }, kTimeoutMs);
}

bool LoopbackClient::waitForDisconnect() {
  return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; },
                         kTimeoutMs);
}

QByteArray LoopbackClient::received() const {
  return blocks_.join();
}

}  // namespace zrv::sim
