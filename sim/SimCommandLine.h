// Turns zrv02-sim's arguments into SimOptions. Kept apart from main so the
// option rules (ranges, a single purity source) are testable without starting
// a process.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "sim/SimOptions.h"

namespace zrv::sim {

class SimCommandLine {
 public:
  static constexpr quint16 kDefaultPort = 7777;

  SimCommandLine();

  // `arguments` starts with the program name. False when an argument is bad;
  // errorText() then says which and why.
  bool parse(const QStringList& arguments);

  bool helpRequested() const { return parser_.isSet(QStringLiteral("help")); }
  QString helpText() const { return parser_.helpText(); }
  bool versionRequested() const { return parser_.isSet(QStringLiteral("version")); }
  // Prints "zrv02-sim <version>" as Qt does and ends the process.
  [[noreturn]] void showVersion() { parser_.showVersion(); }
  const QString& errorText() const { return error_; }
  const SimOptions& options() const { return options_; }
  quint16 port() const { return port_; }

 private:
  bool readValues();
  bool readPurity();
  bool fail(const QString& message);
  bool readInt(const QString& name, int min, int max, int& target);

  QCommandLineParser parser_;
  SimOptions options_;
  quint16 port_ = kDefaultPort;
  QString error_;
};

}  // namespace zrv::sim
