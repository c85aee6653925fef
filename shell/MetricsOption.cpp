#include "shell/MetricsOption.h"

#include <QCommandLineParser>
#include <QDir>

#include "adapters/ListenSetting.h"
#include "adapters/MetricsEndpoint.h"
#include "shell/MainWindow.h"
#include "shell/MenuStartFolder.h"

namespace zrv::shell {

namespace {

constexpr char kOptionName[] = "metrics-listen";
constexpr char kSettingsFile[] = "zrv02-controller.conf";

}  // namespace

QCommandLineOption MetricsListenOption() {
  return QCommandLineOption(
      kOptionName,
      QStringLiteral("Serve the controller's state for Prometheus at http://ADDRESS/metrics. "
                     "ADDRESS is %1 (a port alone: on 127.0.0.1 only). Off by default.")
          .arg(adapters::kListenForms),
      "address");
}

bool StartMetricsEndpoint(const QCommandLineParser& parser, MainWindow& window) {
  // A start from the menu passes no options; its settings file stands in.
  const QString file =
      qEnvironmentVariableIsEmpty(kMenuStartVariable)
          ? QString()
          : QDir(QDir::homePath())
                .filePath(QStringLiteral("%1/%2").arg(kMenuStartFolderName, kSettingsFile));
  const auto setting = adapters::ChooseListenSetting(parser, kOptionName, file, "metrics/listen");
  if (!setting) return true;
  return adapters::StartEndpoint(
      "zrv02-controller", *setting, "metrics at http://%1/metrics",
      [&](const adapters::ListenAddress& address, QString& error) -> quint16 {
        auto* endpoint = new adapters::MetricsEndpoint(window.Host().Copy(), &window);
        const quint16 port = endpoint->Listen(address.host, address.port, error);
        if (port == 0) delete endpoint;
        return port;
      });
}

}  // namespace zrv::shell
