// Helpers shared by the shell and simulator tests: a message box that records
// and can act while "open", a local listening port below 32768 (the port field
// holds a 16-bit signed number) and a link to it, the history files that point
// the window at 127.0.0.1, bounded waiting, and the colour a widget is drawn in.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Ports.h"

class QtTcpClient;

namespace zrv::test {

class ScriptedMessageBox : public MessageBoxPort {
 public:
  void Show(const std::string& text) override {
    shown.push_back(text);
    if (whileOpen) whileOpen();
  }
  void Notify(const std::string& text) override { notified.push_back(text); }
  std::vector<std::string> shown, notified;
  // Runs inside Show, as the operator's time with a modal box would.
  std::function<void()> whileOpen;
};

// Tries ports of 20000..32767 until `listen` takes one; returns it.
quint16 ListenLocally(const std::function<bool(quint16)>& listen);
quint16 ListenLocally(QTcpServer& server);

// Connects `client` to `server` (listening locally first if it is not yet);
// returns the server's end of the connection, or null if none came up.
QTcpSocket* ConnectLocally(QtTcpClient& client, QTcpServer& server);

// History files naming 127.0.0.1 and `port`, read by the next window.
void WriteLocalHistory(quint16 port);

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  return QTest::qWaitFor(condition, timeoutMs);
}

// The colour covering most of the widget as drawn.
QColor DominantColor(QWidget& widget);

}  // namespace zrv::test

// Readable failures for the texts the tests compare.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QColor& c, std::ostream* os) {
  *os << c.name().toStdString();
}
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
