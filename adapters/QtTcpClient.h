// The instrument link over QTcpSocket, with the semantics the controller
// logic was written against: Connect returns at once and the connection
// follows; a refused or lost connection leaves the socket quietly
// unconnected, so the next SendData fails with kNotConnected and the logic
// decides what to tell the operator.
//
// Everything the socket receives is read at once into a ReplyFramer, so no
// byte waits in the socket while a handler (or a box it shows) runs;
// replyReady announces complete replies, which GetData hands out one at a
// time. A line that has not ended is handed on, as a cut reply, once it has
// been quiet for kQuietMs: a slow serial bridge or a peer that writes byte by
// byte pauses inside a line, but not for that long.
//
// When the instrument closes or resets the connection, peerClosed follows
// the replies it sent before; our own Close or Connect is no such event.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <utility>

#include "core/Ports.h"
#include "link/ReplyFramer.h"

namespace zrv::adapters {

class QtTcpClient : public QObject, public zrv::TcpClientPort {
  Q_OBJECT

 public:
  // Far above any pause inside one reply, and well inside the reply time-out
  // of 5 s, so that a line that never ends still reaches the controller.
  static constexpr int kQuietMs = 2000;

  explicit QtTcpClient(QObject* parent = nullptr);
  ~QtTcpClient() override;

  void SetRemoteHost(const std::string& host) override;
  void SetRemotePort(std::int32_t port) override;
  void Connect() override;
  void SendData(const std::string& data) override;
  std::string GetData() override;
  void Close() override;

  bool HasReply() const { return framer_.HasReply(); }
  // The instrument closed the connection we still hold; taking it clears it.
  bool PeerClosed() const { return peerClosed_; }
  bool TakePeerClose() { return std::exchange(peerClosed_, false); }
  std::size_t NextReplySize() const { return framer_.NextReplySize(); }
  QAbstractSocket::SocketState State() const { return socket_.state(); }

 signals:
  void replyReady();
  void peerClosed();

 private:
  void ReadReceived();
  // What the socket still holds becomes replies before the socket lets go.
  void Drop();

  QTcpSocket socket_;
  QTimer quiet_;
  zrv::ReplyFramer framer_;
  QString host_;
  quint16 port_ = 0;
  // Why the last connection failed or ended, for the operator.
  QString lastError_;
  bool peerClosed_ = false;
  bool dropping_ = false;  // our own abort is under way
};

}  // namespace zrv::adapters
