#include "sim/TraceLine.h"

#include <QDateTime>

namespace zrv::sim {

QString TraceLine::Format(qint64 msecsSinceEpoch, int connection, const QByteArray& command) {
  const QString time = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).toString("HH:mm:ss.zzz");
  return QStringLiteral("%1 #%2 %3").arg(time, QString::number(connection), Escaped(command));
}

QString TraceLine::Escaped(const QByteArray& command) {
  QString text;
  for (const char c : command) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\\') {
      text += QStringLiteral("\\\\");
    } else if (byte >= 0x20 && byte < 0x7F) {
      text += QChar(byte);
    } else {
      text += QStringLiteral("\\x%1").arg(byte, 2, 16, QChar('0'));
    }
  }
  return text;
}

}  // namespace zrv::sim
