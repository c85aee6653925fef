// Tells systemd how the service is doing (sd_notify): READY=1 once it is set
// up, WATCHDOG=1 from the event loop at half the watchdog interval the unit
// asks for, so a loop that hangs gets the service restarted, and STATUS= a
// short line. Outside systemd (no NOTIFY_SOCKET) it says nothing.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace zrv::logger {

class SystemdNotifier : public QObject {
  Q_OBJECT

 public:
  explicit SystemdNotifier(QObject* parent = nullptr);

  void Ready();
  void Stopping();
  // Sent only when it changed.
  void Status(const QString& status);

 private:
  QTimer watchdog_;
  QString status_;
};

}  // namespace zrv::logger
