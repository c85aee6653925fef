#include "tests/shell/ShellTestSupport.h"

#include <QImage>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <algorithm>
#include <map>
#include <stdexcept>

#include "adapters/QtTcpClient.h"
#include "core/SvZRV_02.h"
#include "shell/MainWindow.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

quint16 ListenLocally(const std::function<bool(quint16)>& listen) {
  // Start anywhere, so that suites running side by side rarely pick the same
  // ports (a port probed and let go for a server started later is free for
  // a moment).
  constexpr int kFirst = 20000, kCount = 32768 - kFirst;
  const int offset = static_cast<int>(QRandomGenerator::global()->bounded(kCount));
  for (int i = 0; i < kCount; ++i)
    if (const quint16 port = kFirst + (offset + i) % kCount; listen(port)) return port;
  throw std::runtime_error("no free local port below 32768");
}

quint16 ListenLocally(QTcpServer& server) {
  return ListenLocally([&](quint16 port) { return server.listen(QHostAddress::LocalHost, port); });
}

QTcpSocket* ConnectLocally(adapters::QtTcpClient& client, QTcpServer& server) {
  client.SetRemoteHost("127.0.0.1");
  client.SetRemotePort(ListenLocally(server));
  client.Connect();
  const auto up = [&] { return client.State() == QAbstractSocket::ConnectedState; };
  if (!QTest::qWaitFor([&] { return server.hasPendingConnections() && up(); })) return nullptr;
  return server.nextPendingConnection();
}

void WriteLocalHistory(quint16 port) {
  WriteFileBytes(kIpHistoryFile, "127.0.0.1,,,,,,\r\n");
  WriteFileBytes(kPortHistoryFile, std::to_string(port) + ",,,,,,\r\n");
}

QColor DominantColor(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  return QColor(std::ranges::max_element(counts, {}, &decltype(counts)::value_type::second)->first);
}

bool CheckAndStartOneSecondRun(shell::MainWindow& window) {
  const auto find = [&](const char* name) { return window.findChild<QWidget*>(name); };
  QTest::mouseClick(find("Version_Check"), Qt::LeftButton);
  if (!QTest::qWaitFor([&] { return find("start")->isEnabled(); })) return false;
  window.findChild<QLineEdit*>("Txt_Interval")->selectAll();
  QTest::keyClicks(find("Txt_Interval"), "1");
  QTest::mouseClick(find("start"), Qt::LeftButton);
  return true;
}

}  // namespace zrv::test
