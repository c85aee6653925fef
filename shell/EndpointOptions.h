// Where the window's opt-in endpoints listen, if anywhere: the metrics for
// Prometheus and the Modbus TCP registers. Each is off unless asked for: by
// its option (--metrics-listen, --modbus-listen), or, for a start from the
// desktop menu (which passes no options), by its setting
//   [metrics]          [modbus]
//   listen=ADDRESS     listen=ADDRESS
// in ~/ZRV-02/zrv02-controller.conf. An option wins over its setting.
#pragma once

#include <QCommandLineOption>
#include <QList>

class QCommandLineParser;

namespace zrv::shell {

class MainWindow;

QList<QCommandLineOption> EndpointOptions();

// Gives `window` the endpoints the options or the settings ask for, telling
// on stderr where each serves or why it does not. An endpoint is made only
// then: a server costs memory even while it listens nowhere. False for a
// malformed option, which is a usage error.
bool StartEndpoints(const QCommandLineParser& parser, MainWindow& window);

}  // namespace zrv::shell
