#include "logger/SystemdNotifier.h"

#include <systemd/sd-daemon.h>

#include <cstdint>

namespace zrv::logger {

SystemdNotifier::SystemdNotifier(QObject* parent) : QObject(parent) {
  std::uint64_t usec = 0;
  if (sd_watchdog_enabled(0, &usec) > 0) {
    watchdog_.setInterval(static_cast<int>(usec / 2 / 1000));
    connect(&watchdog_, &QTimer::timeout, this, [] { sd_notify(0, "WATCHDOG=1"); });
    watchdog_.start();
  }
}

void SystemdNotifier::Ready() {
  sd_notify(0, "READY=1");
}

void SystemdNotifier::Stopping() {
  sd_notify(0, "STOPPING=1");
}

void SystemdNotifier::Status(const QString& status) {
  if (status == status_) return;
  status_ = status;
  sd_notify(0, qPrintable("STATUS=" + status));
}

}  // namespace zrv::logger
