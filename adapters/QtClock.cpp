#include "adapters/QtClock.h"

#include <QDateTime>

namespace zrv::adapters {

std::string QtClock::Stamp() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toStdString();
}

}  // namespace zrv::adapters
