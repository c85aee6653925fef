#include "shell/QtClock.h"

#include <QDateTime>

std::string QtClock::Stamp() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")).toStdString();
}
