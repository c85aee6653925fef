// Helpers shared by the shell and simulator tests: a local listening port below
// 32768 (the port field holds a 16-bit signed number) and a link to it, the
// history files that point the window at 127.0.0.1, a 1 s run started by
// clicks, and the colour a widget is drawn in.
#pragma once

#include <QColor>
#include <QString>
#include <QTcpServer>
#include <QTest>
#include <QWidget>
#include <functional>
#include <ostream>

namespace zrv::adapters {
class QtTcpClient;
}
namespace zrv::shell {
class MainWindow;
}

namespace zrv::test {

// Tries ports of 20000..32767 until `listen` takes one; returns it.
quint16 ListenLocally(const std::function<bool(quint16)>& listen);
quint16 ListenLocally(QTcpServer& server);

// Connects `client` to `server`, which it makes listen locally; returns the
// server's end of the connection, or null if none came up.
QTcpSocket* ConnectLocally(adapters::QtTcpClient& client, QTcpServer& server);

// History files naming 127.0.0.1 and `port`, read by the next window.
void WriteLocalHistory(quint16 port);

// Clicks Check, waits until start is enabled, types 1 over the interval and
// clicks start, as an operator starts a 1 s run; false if Check never ended.
bool CheckAndStartOneSecondRun(shell::MainWindow& window);

// The colour covering most of the widget as drawn.
QColor DominantColor(QWidget& widget);

}  // namespace zrv::test

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
