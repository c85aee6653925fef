// Where an opt-in endpoint (the metrics, the Modbus registers) listens, if
// anywhere: an option on the command line, else a key of a settings file.
// ADDRESS is "PORT" (on 127.0.0.1 only), "IPv4:PORT" or "[IPv6]:PORT"; an IP
// address, not a host name.
#pragma once

#include <QHostAddress>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QCommandLineParser;

namespace zrv::adapters {

inline constexpr char kListenForms[] = "PORT, IPv4:PORT or [IPv6]:PORT";

struct ListenAddress {
  QHostAddress host;
  quint16 port = 0;
};

// None when `text` is not one of the forms.
std::optional<ListenAddress> ParseListenAddress(const QString& text);
// "127.0.0.1:9102", "[::1]:9102".
QString ShownAddress(const QHostAddress& host, quint16 port);

// The address as the program was told it, and where, for its messages.
struct ListenSetting {
  QString text;
  QString source;  // "--metrics-listen" or "FILE: [metrics] listen"
  bool fromOption = false;
};

// The option `option` when given; else `key` ("metrics/listen") of the INI
// file `file`, when a file is named and holds it; else none.
std::optional<ListenSetting> ChooseListenSetting(const QCommandLineParser& parser,
                                                 const QString& option, const QString& file,
                                                 const QString& key);

// Starts an endpoint as `setting` says: `listen` makes it and listens,
// returning the port taken or 0 with the reason. Says on stderr, as
// `program`, where it serves (`serving` with %1 the address, such as
// "metrics at http://%1/metrics") or why not. False only for a malformed
// option, a usage error; a malformed file setting or an address that cannot
// be taken leaves the program running without the endpoint.
bool StartEndpoint(const char* program, const ListenSetting& setting, const QString& serving,
                   const std::function<quint16(const ListenAddress&, QString& error)>& listen);

// StartEndpoint for an `Endpoint` made from `args` (its Qt parent last) with
// `Listen(host, port, error)`; one that cannot listen is deleted at once.
template <typename Endpoint, typename... Args>
bool StartEndpointOf(const char* program, const ListenSetting& setting, const QString& serving,
                     Args&&... args) {
  return StartEndpoint(program, setting, serving,
                       [&](const ListenAddress& address, QString& error) -> quint16 {
                         auto* endpoint = new Endpoint(std::forward<Args>(args)...);
                         const quint16 port = endpoint->Listen(address.host, address.port, error);
                         if (port == 0) delete endpoint;
                         return port;
                       });
}

}  // namespace zrv::adapters
