// One client connection of the simulator: cuts the byte stream into command
// lines, runs them on the shared instrument and writes the replies, bent as
// the fault switches say. Every byte leaving the socket goes through one
// outbox so split halves, joined replies and e-mail notices never interleave.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <deque>
#include <optional>

#include "sim/Instrument.h"
#include "sim/SimOptions.h"

class QTcpSocket;

namespace zrv::sim {

class SimConnection : public QObject {
  Q_OBJECT

 public:
  // Takes the socket over. `options` is read at each command.
  SimConnection(QTcpSocket* socket, int number, Instrument& instrument, const SimOptions& options,
                QObject* parent);

 signals:
  // Emitted after the instrument has acted on the command.
  void commandReceived(int connection, qint64 msecsSinceEpoch, const QByteArray& command);

 private:
  struct HeldReply {
    QByteArray text;
    bool notice;
    SimFaults faults;
  };
  struct Segment {
    QByteArray bytes;
    int gapMs;  // pause before this segment goes out
  };

  void ReadCommands();
  void RunCommand(const QByteArray& command);
  void Deliver(QByteArray text, bool notice, const SimFaults& faults);
  void Transmit(const QByteArray& text, bool notice, int replies, const SimFaults& faults);
  void Queue(QByteArray bytes, int gapMs);
  void Pump();

  QTcpSocket* socket_;
  const int number_;
  Instrument& instrument_;
  const SimOptions& options_;
  QByteArray input_;
  std::optional<HeldReply> held_;
  QTimer joinFlush_;
  std::deque<Segment> outbox_;
  bool pausing_ = false;
  int replies_ = 0;
  bool closing_ = false;
};

}  // namespace zrv::sim
