// The test's end of a loopback link to the simulator. Keeps every readyRead
// block apart so tests can tell how the replies were cut into segments, and
// waits only for something to happen, never for a fixed time.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpSocket>

namespace zrv::sim {

class LoopbackClient {
 public:
  static constexpr int kTimeoutMs = 2000;

  // Connects to 127.0.0.1:port, waiting for it; connected() says whether it worked.
  explicit LoopbackClient(quint16 port);

  bool connected() const { return connected_; }
  // One write, so several commands leave in one segment.
  void send(const QByteArray& bytes);
  void close();

  bool waitForBytes(qsizetype count);
  bool waitForBlocks(qsizetype count);
  bool waitForDisconnect();

  const QList<QByteArray>& blocks() const { return blocks_; }
  QByteArray received() const;

 private:
  QTcpSocket socket_;
  QList<QByteArray> blocks_;
  bool connected_ = false;
};

}  // namespace zrv::sim
