#include "adapters/ListenSetting.h"

#include <QCommandLineParser>
#include <QSettings>
#include <cstdio>
#include <limits>

namespace zrv::adapters {

std::optional<ListenAddress> ParseListenAddress(const QString& text) {
  const qsizetype colon = text.lastIndexOf(':');
  QString hostText = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
  if (hostText.startsWith('[') && hostText.endsWith(']')) {
    hostText = hostText.mid(1, hostText.size() - 2);
  } else if (hostText.contains(':')) {
    return std::nullopt;  // an IPv6 host must be bracketed
  }
  bool number = false;
  const uint port = text.mid(colon + 1).toUInt(&number);
  ListenAddress address;
  if (!number || port > std::numeric_limits<quint16>::max() || !address.host.setAddress(hostText))
    return std::nullopt;
  address.port = static_cast<quint16>(port);
  return address;
}

QString ShownAddress(const QHostAddress& host, quint16 port) {
  const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
                            ? QStringLiteral("[%1]").arg(host.toString())
                            : host.toString();
  return QStringLiteral("%1:%2").arg(shown).arg(port);
}

std::optional<ListenSetting> ChooseListenSetting(const QCommandLineParser& parser,
                                                 const QString& option, const QString& file,
                                                 const QString& key) {
  if (parser.isSet(option)) return ListenSetting{parser.value(option), "--" + option, true};
  if (file.isEmpty()) return std::nullopt;
  const QString text = QSettings(file, QSettings::IniFormat).value(key).toString();
  if (text.isEmpty()) return std::nullopt;
  const qsizetype slash = key.indexOf('/');
  return ListenSetting{
      text, QStringLiteral("%1: [%2] %3").arg(file, key.left(slash), key.mid(slash + 1)), false};
}

bool StartEndpoint(const char* program, const ListenSetting& setting, const QString& serving,
                   const std::function<quint16(const ListenAddress&, QString& error)>& listen) {
  const auto refuse = [&](const QString& why) {
    std::fprintf(stderr, "%s: %s: %s; not served\n", program, qPrintable(setting.source),
                 qPrintable(why));
  };
  const std::optional<ListenAddress> address = ParseListenAddress(setting.text);
  if (!address) {
    refuse(QStringLiteral("'%1' is not %2").arg(setting.text, kListenForms));
    return !setting.fromOption;
  }
  QString error;
  const quint16 port = listen(*address, error);
  if (port == 0) {
    refuse(error);
    return true;
  }
  std::fprintf(stderr, "%s: %s\n", program,
               qPrintable(serving.arg(ShownAddress(address->host, port))));
  return true;
}

}  // namespace zrv::adapters
