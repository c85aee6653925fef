// The simulated instrument on TCP, on 127.0.0.1 only. Usable in-process: a
// test makes one next to its own event loop, listens on port 0, points the
// controller at ServerPort() and afterwards reads what arrived from Trace().
// All connections share one Instrument, so settings and the purity profile
// position survive the controller closing and reopening its link.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include "sim/Instrument.h"
#include "sim/SimOptions.h"

namespace zrv::sim {

struct TraceEntry {
  qint64 msecsSinceEpoch;
  QString command;  // as received, CR LF removed
};

class SimServer : public QObject {
  Q_OBJECT

 public:
  explicit SimServer(SimOptions options = {}, QObject* parent = nullptr);

  // 127.0.0.1 only; port 0 picks a free one.
  bool Listen(quint16 port);
  // The instrument goes away: no more connections, and the open ones closed.
  void Close();
  quint16 ServerPort() const { return server_.serverPort(); }
  QString ErrorString() const { return server_.errorString(); }

  const QList<TraceEntry>& Trace() const { return trace_; }
  const Instrument& SharedInstrument() const { return instrument_; }

 signals:
  // After the instrument has acted on it, so its state already shows the effect.
  void commandReceived(const QString& command);

 private:
  void AcceptConnections();
  void Record(int connection, qint64 msecsSinceEpoch, const QByteArray& command);

  SimOptions options_;
  Instrument instrument_;
  QTcpServer server_;
  QList<TraceEntry> trace_;
  int connections_ = 0;
};

}  // namespace zrv::sim
