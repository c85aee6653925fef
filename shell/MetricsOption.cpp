#include "shell/MetricsOption.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSettings>
#include <cstdio>
#include <limits>

#include "shell/MenuStartFolder.h"
#include "shell/MetricsEndpoint.h"

namespace zrv::shell {

namespace {

constexpr char kOptionName[] = "metrics-listen";
constexpr char kSettingsFile[] = "zrv02-controller.conf";
constexpr char kSettingKey[] = "metrics/listen";

}  // namespace

QCommandLineOption MetricsListenOption() {
  return QCommandLineOption(
      kOptionName,
      "Serve the controller's state for Prometheus at http://ADDRESS/metrics. ADDRESS is PORT "
      "(on 127.0.0.1 only), IPv4:PORT or [IPv6]:PORT. Off by default.",
      "address");
}

bool ParseListenAddress(const QString& text, QHostAddress& host, quint16& port) {
  const qsizetype colon = text.lastIndexOf(':');
  QString hostText = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
  if (hostText.startsWith('[') && hostText.endsWith(']')) {
    hostText = hostText.mid(1, hostText.size() - 2);
  } else if (hostText.contains(':')) {
    return false;  // an IPv6 host must be bracketed
  }
  bool number = false;
  const uint value = text.mid(colon + 1).toUInt(&number);
  if (!number || value > std::numeric_limits<quint16>::max() || !host.setAddress(hostText))
    return false;
  port = static_cast<quint16>(value);
  return true;
}

bool StartMetricsEndpoint(const QCommandLineParser& parser, MainWindow& window) {
  QString text = parser.value(kOptionName);
  QString source = QStringLiteral("--") + kOptionName;
  if (!parser.isSet(kOptionName)) {
    if (qEnvironmentVariableIsEmpty(kMenuStartVariable)) return true;
    source = QDir(QDir::homePath())
                 .filePath(QStringLiteral("%1/%2").arg(kMenuStartFolderName, kSettingsFile));
    text = QSettings(source, QSettings::IniFormat).value(kSettingKey).toString();
    if (text.isEmpty()) return true;
  }
  const auto refuse = [&](const QString& why) {
    std::fprintf(stderr, "zrv02-controller: %s: %s; no metrics served\n", qPrintable(source),
                 qPrintable(why));
  };
  QHostAddress host;
  quint16 port = 0;
  if (!ParseListenAddress(text, host, port)) {
    refuse(QStringLiteral("'%1' is not PORT, IPv4:PORT or [IPv6]:PORT").arg(text));
    return !parser.isSet(kOptionName);
  }
  QString error;
  auto* endpoint = new MetricsEndpoint(window);
  port = endpoint->Listen(host, port, error);
  if (port == 0) {
    delete endpoint;
    refuse(error);
    return true;
  }
  const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
                            ? QStringLiteral("[%1]").arg(host.toString())
                            : host.toString();
  std::fprintf(stderr, "zrv02-controller: metrics at http://%s:%u/metrics\n", qPrintable(shown),
               port);
  return true;
}

}  // namespace zrv::shell
