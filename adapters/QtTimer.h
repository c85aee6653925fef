// A window timer over QTimer. An interval of 0 means no ticks even while
// enabled, as with the timer control the logic was written for; QTimer would
// instead fire on every pass of the event loop.
#pragma once

#include <QObject>
#include <QTimer>

#include "core/Ports.h"

namespace zrv::adapters {

class QtTimer : public QObject, public zrv::TimerPort {
  Q_OBJECT

 public:
  explicit QtTimer(QObject* parent = nullptr);

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  // Setting the interval starts the count again.
  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }

 signals:
  void tick();

 private:
  void Apply();

  QTimer timer_;
  bool enabled_ = false;
  int interval_ = 0;
};

}  // namespace zrv::adapters
