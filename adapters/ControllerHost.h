// The controller on the event loop: the logic (SvZRV_02) on its Qt ports,
// with the timers' ticks and the socket's replies wired to the handlers. The
// window and the logger each own one, so both run the same controller the
// same way; the window adds its widgets, the logger its restarts.
//
// Handlers never overlap: each runs to completion, and no box runs an event
// loop inside one. Arriving replies wait in the socket adapter and come one
// per event, so no handler sees the state half-changed by another and no
// reply is lost. After each handler the state copy is taken and `handled`
// says so.
#pragma once

#include <QObject>
#include <functional>

#include "adapters/QtClock.h"
#include "adapters/QtDirectories.h"
#include "adapters/QtTcpClient.h"
#include "adapters/QtTimer.h"
#include "core/SvZRV_02.h"
#include "monitoring/StateCopy.h"

namespace zrv::adapters {

class ControllerHost : public QObject {
  Q_OBJECT

 public:
  // `messages` shows the operator's boxes; the window's, or the logger's lines.
  explicit ControllerHost(zrv::MessageBoxPort& messages, QObject* parent = nullptr);

  zrv::SvZRV_02& Core() { return core_; }
  const zrv::SvZRV_02& Core() const { return core_; }
  QtTimer& Timer1() { return timer1_; }
  // The state as the exporters show it, taken after each handler.
  const zrv::monitoring::StateCopy& Copy() const { return copy_; }

  // Runs one handler, then takes the copy and says `handled`.
  void RunHandler(const std::function<void()>& handler);
  // Takes the copy now, as the handler under way has left the state so far.
  void TakeCopy();
  // The logger's count of runs it started again, shown with the state.
  void CountRunsStartedAgain(std::uint64_t runs) { copy_.runsStartedAgain = runs; }
  // The program ends: nothing may reach the handlers from now on.
  void Detach();

 signals:
  void handled();

 private:
  void OnTick(void (zrv::SvZRV_02::*handler)());
  void ScheduleDelivery();
  void DeliverReply();

  QtTcpClient tcp_;
  QtTimer timer1_;
  QtTimer timer2_;
  QtClock clock_;
  QtDirectories directories_;
  zrv::SvZRV_02 core_;
  zrv::monitoring::StateCopy copy_;
  int handlerDepth_ = 0;
  bool deliveryQueued_ = false;
};

}  // namespace zrv::adapters
