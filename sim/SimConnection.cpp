#include "sim/SimConnection.h"

#include <QDateTime>
#include <QTcpSocket>
#include <string_view>
#include <utility>

namespace zrv::sim {

SimConnection::SimConnection(QTcpSocket* socket, int number, Instrument& instrument,
                             const SimOptions& options, QObject* parent)
    : QObject(parent),
      socket_(socket),
      number_(number),
      instrument_(instrument),
      options_(options) {
  socket_->setParent(this);
  // Without it the two halves of a split reply may leave as one segment.
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  joinFlush_.setSingleShot(true);
  joinFlush_.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire the hold early
  joinFlush_.setInterval(SimFaults::kJoinHoldMs);
  connect(&joinFlush_, &QTimer::timeout, this, [this] {
    const HeldReply held = *held_;
    held_.reset();
    Transmit(held.text, held.notice, 1, held.faults);
  });
  connect(socket_, &QTcpSocket::readyRead, this, &SimConnection::ReadCommands);
  connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  // Bytes may already wait; read them once the owner has hooked up to our signals.
  QMetaObject::invokeMethod(this, &SimConnection::ReadCommands, Qt::QueuedConnection);
}

void SimConnection::ReadCommands() {
  input_ += socket_->readAll();
  qsizetype end = 0;
  while (!closing_ && (end = input_.indexOf('\n')) >= 0) {
    QByteArray command = input_.left(end);
    input_.remove(0, end + 1);
    if (command.endsWith('\r')) command.chop(1);
    RunCommand(command);
  }
}

void SimConnection::RunCommand(const QByteArray& command) {
  const qint64 receivedAt = QDateTime::currentMSecsSinceEpoch();
  const SimFaults faults = options_.faults;
  const InstrumentReply reply =
      instrument_.Handle(std::string_view(command.constData(), command.size()));
  if (!faults.silent && command.toStdString() != faults.mute) {
    QByteArray text =
        faults.garbage ? QByteArray(SimFaults::kGarbage) : QByteArray::fromStdString(reply.text);
    text.replace("\r\n", QByteArray::fromStdString(faults.lineEnd));
    if (faults.replyDelayMs > 0) {
      QTimer::singleShot(
          faults.replyDelayMs, Qt::PreciseTimer, this,
          [this, text, notice = reply.emailNotice, faults] { Deliver(text, notice, faults); });
    } else {
      Deliver(text, reply.emailNotice, faults);
    }
  }
  emit commandReceived(number_, receivedAt, command);
}

void SimConnection::Deliver(QByteArray text, bool notice, const SimFaults& faults) {
  if (closing_) return;
  if (!faults.join) {
    Transmit(text, notice, 1, faults);
    return;
  }
  if (!held_) {
    held_ = HeldReply{text, notice, faults};
    joinFlush_.start();
    return;
  }
  joinFlush_.stop();
  text.prepend(held_->text);
  notice = notice || held_->notice;
  held_.reset();
  Transmit(text, notice, 2, faults);
}

void SimConnection::Transmit(const QByteArray& text, bool notice, int replies,
                             const SimFaults& faults) {
  if (faults.split) {
    const qsizetype half = text.size() / 2;
    Queue(text.left(half), 0);
    Queue(text.mid(half), faults.splitGapMs);
  } else {
    Queue(text, 0);
  }
  if (notice) {
    QTimer::singleShot(options_.noticeDelayMs, Qt::PreciseTimer, this, [this] {
      if (!closing_)
        Queue(QByteArray(Instrument::kEmailNotice.data(), Instrument::kEmailNotice.size()), 0);
    });
  }
  replies_ += replies;
  if (faults.closeAfter > 0 && replies_ >= faults.closeAfter) {
    closing_ = true;
    Pump();
  }
}

void SimConnection::Queue(QByteArray bytes, int gapMs) {
  outbox_.push_back({std::move(bytes), gapMs});
  Pump();
}

void SimConnection::Pump() {
  if (socket_->state() != QAbstractSocket::ConnectedState) {
    outbox_.clear();  // the peer is gone: whatever was due is dropped
    return;
  }
  while (!pausing_ && !outbox_.empty()) {
    Segment& next = outbox_.front();
    if (next.gapMs > 0) {
      pausing_ = true;
      QTimer::singleShot(std::exchange(next.gapMs, 0), Qt::PreciseTimer, this, [this] {
        pausing_ = false;
        Pump();
      });
      return;
    }
    socket_->write(next.bytes);
    socket_->flush();
    outbox_.pop_front();
  }
  if (closing_ && !pausing_) socket_->disconnectFromHost();
}

}  // namespace zrv::sim
