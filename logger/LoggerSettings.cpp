#include "logger/LoggerSettings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <functional>
#include <map>

namespace zrv::logger {
namespace {

// One value the logger takes, by option and by key, and what it accepts.
struct Value {
  const char* option;
  const char* key;  // in the --config file, "section/name"
  const char* what;
  const char* wants;
  QString LoggerSettings::*field;
  std::function<bool(const QString&)> accepts;
};

bool WholeNumber(const QString& text, int low, int high) {
  bool ok = false;
  const int number = text.toInt(&ok);
  return ok && !text.startsWith('+') && number >= low && number <= high;
}

bool HostName(const QString& text) {
  // Kept in the address history as typed, where a "," would split it.
  const auto allowed = [](QChar c) {
    return (c.isLetterOrNumber() && c.unicode() < 0x80) || QStringLiteral(".:_-").contains(c);
  };
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), allowed);
}

const Value kValues[] = {
    {"host", "instrument/host", "The instrument's address", "an IPv4 address or a host name",
     &LoggerSettings::host, HostName},
    {"port", "instrument/port", "The instrument's TCP port", "a port from 1 to 32767",
     &LoggerSettings::port, [](const QString& t) { return WholeNumber(t, 1, 32767); }},
    {"interval", "run/interval", "Seconds between measurements",
     "whole seconds from 0 to 9999 (0 is 10000 s)", &LoggerSettings::interval,
     [](const QString& t) { return WholeNumber(t, 0, 9999); }},
    {"alarm-level", "run/alarm_level", "The purity alarm level", "a whole percent from 0 to 99",
     &LoggerSettings::alarmLevel, [](const QString& t) { return WholeNumber(t, 0, 99); }},
};
constexpr char kLog[] = "log", kLogKey[] = "run/log";
// The endpoints' addresses, as the window takes them.
struct Endpoint {
  const char* option;
  const char* key;
  std::optional<adapters::ListenSetting> LoggerSettings::*field;
};
const Endpoint kEndpoints[] = {{"metrics-listen", "metrics/listen", &LoggerSettings::metrics},
                               {"modbus-listen", "modbus/listen", &LoggerSettings::modbus}};
constexpr char kConfig[] = "config";

QString Quoted(const QString& text) {
  return QStringLiteral("'%1'").arg(text);
}

}  // namespace

std::optional<LoggerSettings> ReadLoggerSettings(const QStringList& arguments, QString& refusal) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Records a ZRV-02 purity monitor without a window, as a service: the controller's own "
      "logic checks the firmware, then measures once per interval into the log, which it "
      "continues across restarts; a run that ends is started again after a pause of 5 s, "
      "growing to 60 s. Options win over the --config file.");
  parser.addHelpOption();
  parser.addVersionOption();
  for (const Value& value : kValues) {
    const QString key(value.key);
    parser.addOption(
        {value.option,
         QStringLiteral("%1: %2 ([%3] %4 in the file).")
             .arg(value.what, value.wants, key.section('/', 0, 0), key.section('/', 1)),
         value.option});
  }
  parser.addOptions({
      {kLog,
       "The measurement log, appended to (default zrv-02.log in the working folder; [run] log in "
       "the file).",
       "path"},
      {"metrics-listen",
       QStringLiteral("Serve the state for Prometheus at http://ADDRESS/metrics; ADDRESS is %1 "
                      "([metrics] listen in the file). Off by default.")
           .arg(adapters::kListenForms),
       "address"},
      {"modbus-listen",
       QStringLiteral("Answer Modbus TCP reads of the state at ADDRESS, read-only; ADDRESS is %1 "
                      "([modbus] listen in the file). Off by default.")
           .arg(adapters::kListenForms),
       "address"},
      {kConfig, "Read what the options leave out from this INI file.", "file"},
  });
  const auto refuse = [&](const QString& where, const QString& why) {
    refusal = where.isEmpty() ? why : where + ": " + why;
    return std::nullopt;
  };
  if (!parser.parse(arguments)) return refuse({}, parser.errorText());
  if (parser.isSet("help")) parser.showHelp();
  if (parser.isSet("version")) parser.showVersion();
  if (!parser.positionalArguments().isEmpty())
    return refuse(Quoted(parser.positionalArguments().first()), "is no option");

  // The file first, so that an option wins over it.
  const QString file = parser.value(kConfig);
  std::map<QString, QString> fromFile;
  if (parser.isSet(kConfig)) {
    const QString where = "--config " + file;
    if (!QFileInfo(file).isFile() || !QFileInfo(file).isReadable())
      return refuse(where, "cannot be read");
    QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) return refuse(where, "is not an INI file");
    QStringList known = {kLogKey};
    for (const Endpoint& endpoint : kEndpoints) known << endpoint.key;
    for (const Value& value : kValues) known << value.key;
    for (const QString& key : ini.allKeys()) {
      const QString slot = "[" + key.section('/', 0, 0) + "] " + key.section('/', 1);
      if (!known.contains(key)) return refuse(file + ": " + slot, "is not a setting of the logger");
      if (ini.value(key).typeId() != QMetaType::QString)
        return refuse(file + ": " + slot, "holds a comma");
      fromFile[key] = ini.value(key).toString();
    }
  }
  const auto chosen = [&](const char* option, const char* key, QString& text, QString& where) {
    where = QStringLiteral("--%1").arg(option);
    if (parser.isSet(option)) {
      text = parser.value(option);
      return true;
    }
    const auto found = fromFile.find(key);
    if (found == fromFile.end()) return false;
    text = found->second;
    where = file + ": [" + QString(key).section('/', 0, 0) + "] " + QString(key).section('/', 1);
    return true;
  };

  LoggerSettings settings;
  QString text, where;
  for (const Value& value : kValues) {
    if (!chosen(value.option, value.key, text, where)) continue;
    if (!value.accepts(text))
      return refuse(where, QStringLiteral("wants %1, got %2").arg(value.wants, Quoted(text)));
    settings.*value.field = text;
  }
  if (settings.host.isEmpty())
    return refuse({}, "no instrument: give --host or [instrument] host in --config");

  QString log = settings.logName;
  if (chosen(kLog, kLogKey, text, where)) log = text;
  const QFileInfo logFile(log);
  const QFileInfo folder(logFile.absolutePath());
  if (log.isEmpty() || log.endsWith('/') || logFile.isDir())
    return refuse(where, QStringLiteral("wants the path of a file, got %1").arg(Quoted(log)));
  if (!folder.isDir()) return refuse(where, "the folder " + folder.filePath() + " does not exist");
  if (!folder.isWritable())
    return refuse(where, "the folder " + folder.filePath() + " cannot be written");
  settings.logFolder = folder.absoluteFilePath();
  settings.logName = logFile.fileName();

  for (const Endpoint& endpoint : kEndpoints) {
    if (!chosen(endpoint.option, endpoint.key, text, where)) continue;
    if (!adapters::ParseListenAddress(text))
      return refuse(where,
                    QStringLiteral("wants %1, got %2").arg(adapters::kListenForms, Quoted(text)));
    settings.*endpoint.field = adapters::ListenSetting{text, where, true};
  }
  return settings;
}

}  // namespace zrv::logger
