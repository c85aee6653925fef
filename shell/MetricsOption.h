// Where the window's metrics endpoint listens, if anywhere. It is off unless
// asked for: by --metrics-listen on the command line, or, for a start from
// the desktop menu (which passes no options), by the setting
//   [metrics]
//   listen=ADDRESS
// in ~/ZRV-02/zrv02-controller.conf. The option wins over the setting.
#pragma once

#include <QCommandLineOption>

class QCommandLineParser;

namespace zrv::shell {

class MainWindow;

QCommandLineOption MetricsListenOption();

// Gives `window` a metrics endpoint as the option or the setting asks,
// telling on stderr where it serves or why it does not. The endpoint is made
// only then: an HTTP server costs memory even while it listens nowhere.
// False for a malformed option, which is a usage error.
bool StartMetricsEndpoint(const QCommandLineParser& parser, MainWindow& window);

}  // namespace zrv::shell
