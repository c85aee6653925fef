// Serves the controller's state as read-only Modbus TCP registers (the map
// in monitoring/ModbusRegisters.h) on the program's own event loop, with Qt
// Serial Bus's TCP server. The registers are computed from the state copy
// after every handler, and a request is answered whole between two handlers,
// so one read never mixes two records.
//
// Only reads are answered: functions 03 and 04 (the same 15 words) and 02
// (the status bits); every other function, each write among them, gets
// exception 01, a read past the map exception 02. Unit ids 1 and 255 are
// answered, any other not at all, as a device that is not addressed.
//
// Qt's server answers one unit id only and takes any MBAP header on trust
// (any protocol id, a length it waits for up to 64 KiB), so the frames are
// cut here: this reader is connected before Qt's own, takes every byte and
// disconnects Qt's at the first. A header with another protocol id than 0,
// a length outside 2..254 or a function code no request has closes the
// connection, once the answers before it are sent. At most kMaxConnections
// are open: a new one closes the oldest that has had no request answered,
// else the one quiet longest, so a PLC that polls keeps its connection while
// clients that only connect come and go. Each is closed after kIdleMs
// without a request answered (a half frame that stalls, a client that only
// holds a connection) or once kMaxUnsentBytes of answers wait unread.
#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QModbusTcpServer>

#include "adapters/ListenSetting.h"
#include "monitoring/ModbusRegisters.h"

class QCommandLineParser;
class QHostAddress;

namespace zrv::adapters {

class ControllerHost;

class ModbusEndpoint : public QModbusTcpServer {
  Q_OBJECT

 public:
  static constexpr int kMaxConnections = 16;
  static constexpr int kIdleMs = 60000;
  static constexpr qint64 kMaxUnsentBytes = 64 * 1024;

  // Serves `host`'s state, which outlives it.
  ModbusEndpoint(const ControllerHost& host, QObject* parent);
  ~ModbusEndpoint() override;

  // Listens on `address`; returns the port taken (the one asked for, or a
  // free one for port 0), or 0 with the reason in `error`.
  quint16 Listen(const QHostAddress& address, quint16 port, QString& error);

 protected:
  QModbusResponse processRequest(const QModbusPdu& request) override;
  bool readData(QModbusDataUnit* unit) const override;

 private:
  class Guard;

  void Serve(QTcpSocket* socket);
  // Answers the whole requests in `pending` after what `socket` brought;
  // true when it answered any.
  bool Answer(QTcpSocket* socket, QByteArray& pending);

  zrv::monitoring::ModbusRegisters registers_;
  // The open connections, oldest first: those with no request answered yet,
  // and the others, quiet longest first.
  QList<QTcpSocket*> fresh_, polling_;
};

// --modbus-listen ADDRESS, for every program that runs the controller.
QCommandLineOption ModbusListenOption();

// Gives `host` a Modbus endpoint (a child of `parent`) as --modbus-listen or,
// without it, the key listen of section [modbus] of `settingsFile` (none
// when empty) asks, telling on stderr as `program` where it serves or why
// not. False for a malformed option, a usage error.
bool StartModbusEndpoint(const char* program, const QCommandLineParser& parser,
                         const QString& settingsFile, const ControllerHost& host, QObject* parent);
// The same for an address already chosen.
bool ServeModbus(const char* program, const ListenSetting& setting, const ControllerHost& host,
                 QObject* parent);

}  // namespace zrv::adapters
