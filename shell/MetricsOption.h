// Where the metrics endpoint listens, if anywhere. It is off unless asked
// for: by --metrics-listen on the command line, or, for a start from the
// desktop menu (which passes no options), by the setting
//   [metrics]
//   listen=ADDRESS
// in ~/ZRV-02/zrv02-controller.conf. The option wins over the setting.
// ADDRESS is "PORT" (on 127.0.0.1 only), "IPv4:PORT" or "[IPv6]:PORT".
#pragma once

#include <QCommandLineOption>
#include <QHostAddress>
#include <QString>

class QCommandLineParser;

namespace zrv::shell {

class MainWindow;

QCommandLineOption MetricsListenOption();

// False when `text` is not one of the forms above.
bool ParseListenAddress(const QString& text, QHostAddress& host, quint16& port);

// Gives `window` a metrics endpoint as the option or the setting asks,
// telling on stderr where it serves or why it does not. The endpoint is made
// only then: an HTTP server costs memory even while it listens nowhere.
// False for a malformed option, which is a usage error; a malformed setting
// or an address that cannot be taken leaves the controller running without.
bool StartMetricsEndpoint(const QCommandLineParser& parser, MainWindow& window);

}  // namespace zrv::shell
