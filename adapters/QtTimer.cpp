#include "adapters/QtTimer.h"

namespace zrv::adapters {

QtTimer::QtTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &QtTimer::tick);
}

void QtTimer::SetEnabled(bool enabled) {
  // Enabling a running timer keeps its count.
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply();
}

void QtTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void QtTimer::Apply() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace zrv::adapters
