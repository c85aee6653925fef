#include "shell/EndpointOptions.h"

#include <QCommandLineParser>
#include <QDir>

#include "adapters/ListenSetting.h"
#include "adapters/MetricsEndpoint.h"
#include "adapters/ModbusEndpoint.h"
#include "shell/MainWindow.h"
#include "shell/MenuStartFolder.h"

namespace zrv::shell {

namespace {

constexpr char kProgram[] = "zrv02-controller";
constexpr char kMetricsOption[] = "metrics-listen";
constexpr char kSettingsFile[] = "zrv02-controller.conf";

bool StartMetricsEndpoint(const QCommandLineParser& parser, const QString& file,
                          MainWindow& window) {
  const auto setting =
      adapters::ChooseListenSetting(parser, kMetricsOption, file, "metrics/listen");
  return !setting || adapters::ServeMetrics(kProgram, *setting, window.Host().Copy(), &window);
}

}  // namespace

QList<QCommandLineOption> EndpointOptions() {
  return {
      QCommandLineOption(
          kMetricsOption,
          QStringLiteral("Serve the controller's state for Prometheus at http://ADDRESS/metrics. "
                         "ADDRESS is %1 (a port alone: on 127.0.0.1 only). Off by default.")
              .arg(adapters::kListenForms),
          "address"),
      adapters::ModbusListenOption()};
}

bool StartEndpoints(const QCommandLineParser& parser, MainWindow& window) {
  // A start from the menu passes no options; its settings file stands in.
  const QString file =
      qEnvironmentVariableIsEmpty(kMenuStartVariable)
          ? QString()
          : QDir(QDir::homePath())
                .filePath(QStringLiteral("%1/%2").arg(kMenuStartFolderName, kSettingsFile));
  return StartMetricsEndpoint(parser, file, window) &&
         adapters::StartModbusEndpoint(kProgram, parser, file, window.Host(), &window);
}

}  // namespace zrv::shell
