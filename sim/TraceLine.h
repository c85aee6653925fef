// The --trace stdout line for one received command, e.g.
// "18:41:13.123 #1 PURITY?". Bytes that would not print are escaped so a
// malformed command stays visible and one command stays one line.
#pragma once

#include <QByteArray>
#include <QString>

namespace zrv::sim {

class TraceLine {
 public:
  static QString Format(qint64 msecsSinceEpoch, int connection, const QByteArray& command);
  // Printable ASCII as is, backslash as "\\", anything else as "\xhh" (lower-case hex).
  static QString Escaped(const QByteArray& command);
};

}  // namespace zrv::sim
