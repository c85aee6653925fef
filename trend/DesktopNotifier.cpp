#include "trend/DesktopNotifier.h"

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>

namespace zrv::trend {

bool DesktopNotifier::Notify(const QString& summary, const QString& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                     "/org/freedesktop/Notifications",
                                                     "org.freedesktop.Notifications", "Notify");
  call << QString("zrv02-trend") << 0u << QString("dialog-warning") << summary << body
       << QStringList() << QVariantMap() << -1;
  return bus.send(call);
}

}  // namespace zrv::trend
