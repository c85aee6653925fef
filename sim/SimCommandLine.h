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
  // ErrorText() then says which and why.
  bool Parse(const QStringList& arguments);

  // --help-all too: a plain Qt program has no options of Qt's worth listing.
  bool HelpRequested() const {
    return parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"));
  }
  QString HelpText() const { return parser_.helpText(); }
  bool VersionRequested() const { return parser_.isSet(QStringLiteral("version")); }
  // Prints "zrv02-sim <version>" as Qt does and ends the process.
  [[noreturn]] void ShowVersion() { parser_.showVersion(); }
  const QString& ErrorText() const { return error_; }
  const SimOptions& Options() const { return options_; }
  quint16 Port() const { return port_; }

 private:
  bool ReadValues();
  bool ReadPurity();
  bool Fail(const QString& message);
  bool ReadInt(const QString& name, int min, int max, int& target);

  QCommandLineParser parser_;
  SimOptions options_;
  quint16 port_ = kDefaultPort;
  QString error_;
};

}  // namespace zrv::sim
