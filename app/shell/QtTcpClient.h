// The instrument link over QTcpSocket, with the semantics the controller
// logic was written against: Connect returns at once and the connection
// follows; a refused or lost connection leaves the socket quietly
// unconnected, so the next SendData fails with kNotConnected and the logic
// decides what to tell the operator.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>

#include "app/Ports.h"

class QtTcpClient : public QObject, public zrv::TcpClientPort {
  Q_OBJECT

 public:
  explicit QtTcpClient(QObject* parent = nullptr);

  void SetRemoteHost(const std::string& host) override;
  void SetRemotePort(std::int32_t port) override;
  void Connect() override;
  void SendData(const std::string& data) override;
  std::string GetData() override;
  void Close() override;

  qint64 BytesAvailable() const { return socket_.bytesAvailable(); }
  QAbstractSocket::SocketState State() const { return socket_.state(); }

 signals:
  void readyRead();

 private:
  QTcpSocket socket_;
  QString host_;
  quint16 port_ = 0;
};
