// The test's end of a loopback link to the simulator. Keeps every readyRead
// block apart so tests can tell how the replies were cut into segments, and
// waits only for something to happen, never for a fixed time.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpSocket>
#include <QTest>

namespace zrv::sim {

class LoopbackClient {
 public:
  static constexpr int kTimeoutMs = 2000;

  explicit LoopbackClient(quint16 port) {
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QObject::connect(&socket_, &QTcpSocket::readyRead,
                     [this] { blocks_.append(socket_.readAll()); });
    socket_.connectToHost(QHostAddress::LocalHost, port);
    // A failed connect shows up as a timeout of the next wait.
    (void)QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; },
                          kTimeoutMs);
  }

  // One write, so several commands leave in one segment.
  void send(const QByteArray& bytes) {
    socket_.write(bytes);
    socket_.flush();
  }
  void close() { socket_.disconnectFromHost(); }

  bool waitForBytes(qsizetype count) {
    return QTest::qWaitFor([&] { return received().size() >= count; }, kTimeoutMs);
  }
  bool waitForDisconnect() {
    return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; },
                           kTimeoutMs);
  }

  const QList<QByteArray>& blocks() const { return blocks_; }
  QByteArray received() const { return blocks_.join(); }

 private:
  QTcpSocket socket_;
  QList<QByteArray> blocks_;
};

}  // namespace zrv::sim
