#include "adapters/ControllerHost.h"

#include <QDateTime>

namespace zrv::adapters {

using zrv::SvZRV_02;

ControllerHost::ControllerHost(zrv::MessageBoxPort& messages, QObject* parent)
    : QObject(parent), core_(zrv::Ports{tcp_, timer1_, timer2_, messages, clock_, directories_}) {
  connect(&timer1_, &QtTimer::tick, this, [this] { OnTick(&SvZRV_02::Timer1_Timer); });
  connect(&timer2_, &QtTimer::tick, this, [this] { OnTick(&SvZRV_02::Timer2_Timer); });
  connect(&tcp_, &QtTcpClient::replyReady, this, &ControllerHost::ScheduleDelivery);
  connect(&tcp_, &QtTcpClient::peerClosed, this, &ControllerHost::ScheduleDelivery);
}

void ControllerHost::RunHandler(const std::function<void()>& handler) {
  ++handlerDepth_;
  core_.RunHandler(handler);
  --handlerDepth_;
  TakeCopy();
  emit handled();
  if (handlerDepth_ == 0) ScheduleDelivery();
}

void ControllerHost::TakeCopy() {
  copy_ = zrv::monitoring::CopyState(core_, copy_, QDateTime::currentSecsSinceEpoch());
}

void ControllerHost::Detach() {
  timer1_.disconnect(this);
  timer2_.disconnect(this);
  tcp_.disconnect(this);
}

void ControllerHost::OnTick(void (SvZRV_02::*handler)()) {
  if (handlerDepth_ > 0) return;
  RunHandler([&] { (core_.*handler)(); });
}

void ControllerHost::ScheduleDelivery() {
  // Delivered from the event loop, never from inside the socket's signal or
  // a handler: a box that a reply raises must not hold up the socket.
  if (deliveryQueued_ || handlerDepth_ > 0 || !(tcp_.HasReply() || tcp_.PeerClosed())) return;
  deliveryQueued_ = true;
  QMetaObject::invokeMethod(this, &ControllerHost::DeliverReply, Qt::QueuedConnection);
}

void ControllerHost::DeliverReply() {
  deliveryQueued_ = false;
  if (handlerDepth_ > 0) return;
  // One reply per data arrival; the next one is scheduled when it returns.
  // The instrument's close comes after the replies it sent before it.
  if (tcp_.HasReply()) {
    const auto bytesTotal = static_cast<std::int32_t>(tcp_.NextReplySize());
    RunHandler([&] { core_.tcpclient_DataArrival(bytesTotal); });
  } else if (tcp_.TakePeerClose()) {
    RunHandler([this] { core_.tcpclient_Close(); });
  }
}

}  // namespace zrv::adapters
