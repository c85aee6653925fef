// What zrv02-logger is told: options on the command line, and an INI file
// (--config) for what the options leave out:
//   [instrument] host, port
//   [run]        interval, alarm_level, log
//   [metrics]    listen
//   [modbus]     listen
// Each value means what the window's field means (interval 0 is 10000 s).
// Everything is checked before anything is opened, sent or written: a bad
// value is refused with one line naming the option or key and what it takes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "adapters/ListenSetting.h"

namespace zrv::logger {

struct LoggerSettings {
  QString host;
  QString port = "7777";
  QString interval = "10";
  QString alarmLevel = "80";
  QString logFolder;  // absolute, without the file name
  QString logName = "zrv-02.log";
  std::optional<adapters::ListenSetting> metrics;
  std::optional<adapters::ListenSetting> modbus;
};

// The settings from `arguments` (the program name first), or the line that
// refuses them in `refusal`. --help and --version print and exit here.
std::optional<LoggerSettings> ReadLoggerSettings(const QStringList& arguments, QString& refusal);

}  // namespace zrv::logger
