// What zrv02-logger is told, and every way of telling it wrong: one line,
// naming the option or key and what it takes.
#include <gtest/gtest.h>

#include <QDir>

#include "logger/LoggerSettings.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::logger {
namespace {

TEST(LoggerSettings, OptionsWinOverTheFileAndEveryBadValueIsNamed) {
  test::WriteFileBytes(
      "lab1.conf",
      "; the first instrument\n[instrument]\nhost=127.0.0.1\nport=24001\n"
      "[run]\ninterval=0\nlog=lab1.log\n[metrics]\nlisten=9102\n[modbus]\nlisten=1502\n");
  test::WriteFileBytes("typo.conf", "[run]\nintervall=5\n");
  test::WriteFileBytes("comma.conf", "[instrument]\nhost=a,b\n");
  test::WriteFileBytes("bad.conf", "[instrument]\nhost=h\n[run]\nalarm_level=x\n");
  const QString here = QDir::currentPath();
  const std::pair<QStringList, QString> rows[] = {
      // host port interval level folder name metrics modbus, or the refusal
      {{"--config", "lab1.conf", "--interval", "5"},
       "127.0.0.1 24001 5 80 " + here +
           " lab1.log lab1.conf: [metrics] listen lab1.conf: [modbus] listen"},
      {{"--host", "lab.example", "--log", here + "/x.log"},
       "lab.example 7777 10 80 " + here + " x.log - -"},
      {{"--interval", "5"}, "no instrument: give --host or [instrument] host in --config"},
      {{"--host", "a b"}, "--host: wants an IPv4 address or a host name, got 'a b'"},
      {{"--host", "h", "--port", "32768"}, "--port: wants a port from 1 to 32767, got '32768'"},
      {{"--host", "h", "--interval", "-1"},
       "--interval: wants whole seconds from 0 to 9999 (0 is 10000 s), got '-1'"},
      {{"--host", "h", "--alarm-level", "1.5"},
       "--alarm-level: wants a whole percent from 0 to 99, got '1.5'"},
      {{"--host", "h", "--log", "gone/x.log"},
       "--log: the folder " + here + "/gone does not exist"},
      {{"--host", "h", "--log", here}, "--log: wants the path of a file, got '" + here + "'"},
      {{"--host", "h", "--metrics-listen", "localhost:9102"},
       "--metrics-listen: wants PORT, IPv4:PORT or [IPv6]:PORT, got 'localhost:9102'"},
      {{"--host", "h", "--modbus-listen", "[::1]"},
       "--modbus-listen: wants PORT, IPv4:PORT or [IPv6]:PORT, got '[::1]'"},
      {{"--host", "h", "extra"}, "'extra': is no option"},
      {{"--config", "none.conf"}, "--config none.conf: cannot be read"},
      {{"--config", "typo.conf"}, "typo.conf: [run] intervall: is not a setting of the logger"},
      {{"--config", "comma.conf"}, "comma.conf: [instrument] host: holds a comma"},
      {{"--config", "bad.conf"},
       "bad.conf: [run] alarm_level: wants a whole percent from 0 to 99, got 'x'"},
  };
  for (const auto& [arguments, expected] : rows) {
    QString refusal;
    const auto s = ReadLoggerSettings(QStringList{"zrv02-logger"} + arguments, refusal);
    const QString got = s ? QStringList{s->host,
                                        s->port,
                                        s->interval,
                                        s->alarmLevel,
                                        s->logFolder,
                                        s->logName,
                                        s->metrics ? s->metrics->source : "-",
                                        s->modbus ? s->modbus->source : "-"}
                                .join(' ')
                          : refusal;
    EXPECT_EQ(got.toStdString(), expected.toStdString()) << arguments.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace zrv::logger
