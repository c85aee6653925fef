#include "shell/QtClock.h"

#include <QDateTime>

namespace zrv::shell {

std::string QtClock::Stamp() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toStdString();
}

}  // namespace zrv::shell
