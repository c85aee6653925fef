#include "adapters/ModbusEndpoint.h"

#include <QCommandLineParser>
#include <QDataStream>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "adapters/ControllerHost.h"
#include "adapters/ListenSetting.h"

namespace zrv::adapters {

namespace {

constexpr char kOptionName[] = "modbus-listen";
// MBAP header: transaction id, protocol id, length (of what follows), unit id.
constexpr int kHeaderBytes = 7;
constexpr int kLengthBytes = 6;  // the header up to the length field
// The length counts the unit id, the function code and the data: a PDU is
// at most 253 bytes.
constexpr int kMinLength = 2;
constexpr int kMaxLength = 254;
constexpr quint8 kUnits[] = {1, 255};
// A few whole requests per read, so one busy client cannot hold the event loop.
constexpr qint64 kReadBufferBytes = 4 * (kLengthBytes + kMaxLength);

}  // namespace

// Qt's server hands each new connection here before it connects its own
// reader to it.
class ModbusEndpoint::Guard : public QModbusTcpConnectionObserver {
 public:
  explicit Guard(ModbusEndpoint& endpoint) : endpoint_(endpoint) {}
  bool acceptNewConnection(QTcpSocket* socket) override {
    endpoint_.Serve(socket);
    return true;
  }

 private:
  ModbusEndpoint& endpoint_;
};

ModbusEndpoint::ModbusEndpoint(const ControllerHost& host, QObject* parent)
    : QModbusTcpServer(parent), registers_(zrv::monitoring::ComputeModbusRegisters(host.Copy())) {
  installConnectionObserver(new Guard(*this));
  connect(&host, &ControllerHost::handled, this,
          [this, &host] { registers_ = zrv::monitoring::ComputeModbusRegisters(host.Copy()); });
}

ModbusEndpoint::~ModbusEndpoint() {
  // Qt's server frees a connection's buffer when the connection is destroyed
  // while the server still exists: so the open connections go first.
  for (QTcpSocket* socket : fresh_ + polling_) {
    socket->abort();
    delete socket;
  }
}

quint16 ModbusEndpoint::Listen(const QHostAddress& address, quint16 port, QString& error) {
  // Qt's server reads its address back through a URL, where IPv6 is bracketed.
  const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                           ? QStringLiteral("[%1]").arg(address.toString())
                           : address.toString();
  setConnectionParameter(NetworkAddressParameter, host);
  setConnectionParameter(NetworkPortParameter, port);
  if (!connectDevice()) {
    error = errorString();
    return 0;
  }
  return findChild<QTcpServer*>()->serverPort();
}

QModbusResponse ModbusEndpoint::processRequest(const QModbusPdu& request) {
  switch (request.functionCode()) {
    case QModbusPdu::ReadDiscreteInputs:
    case QModbusPdu::ReadHoldingRegisters:
    case QModbusPdu::ReadInputRegisters:
      return QModbusTcpServer::processRequest(request);
    default:
      return QModbusExceptionResponse(request.functionCode(),
                                      QModbusExceptionResponse::IllegalFunction);
  }
}

bool ModbusEndpoint::readData(QModbusDataUnit* unit) const {
  const bool bits = unit->registerType() == QModbusDataUnit::DiscreteInputs;
  const int first = unit->startAddress(), end = first + int(unit->valueCount());
  const int size = bits ? int{zrv::monitoring::kModbusBits} : int{zrv::monitoring::kModbusWords};
  if (first < 0 || end > size) return false;
  QList<quint16> values;
  for (int address = first; address < end; ++address)
    values.append(bits ? registers_.Bit(address) : registers_.words[address]);
  unit->setValues(values);
  return true;
}

void ModbusEndpoint::Serve(QTcpSocket* socket) {
  if (fresh_.size() + polling_.size() >= kMaxConnections)
    (fresh_.isEmpty() ? polling_ : fresh_).takeFirst()->abort();
  fresh_.append(socket);
  connect(socket, &QObject::destroyed, this,
          [this, socket] { fresh_.removeOne(socket) || polling_.removeOne(socket); });
  socket->setReadBufferSize(kReadBufferBytes);
  auto* idle = new QTimer(socket);
  idle->setSingleShot(true);
  connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
  idle->start(kIdleMs);
  connect(socket, &QTcpSocket::readyRead, socket,
          [this, socket, idle, pending = QByteArray()]() mutable {
            // Qt's own reader, connected to the server after this one, would
            // find nothing to read; it is let go, so that it never reads from
            // a connection closed here.
            disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
            if (!Answer(socket, pending)) return;
            idle->start(kIdleMs);
            fresh_.removeOne(socket) || polling_.removeOne(socket);
            polling_.append(socket);
          });
}

bool ModbusEndpoint::Answer(QTcpSocket* socket, QByteArray& pending) {
  pending += socket->readAll();
  const auto byte = [&](int i) { return static_cast<quint8>(pending[i]); };
  const auto malformed = [socket] {
    socket->disconnectFromHost();  // after the answers written so far
    return false;
  };
  bool answered = false;
  while (pending.size() >= kHeaderBytes) {
    const int protocol = byte(2) << 8 | byte(3), length = byte(4) << 8 | byte(5);
    if (protocol != 0 || length < kMinLength || length > kMaxLength) return malformed();
    if (pending.size() < kLengthBytes + length) break;  // the rest is on its way
    const quint8 unit = byte(kHeaderBytes - 1), function = byte(kHeaderBytes);
    if (function == 0 || function & QModbusPdu::ExceptionByte) return malformed();
    const QModbusRequest request(QModbusPdu::FunctionCode(function),
                                 pending.mid(kHeaderBytes + 1, length - kMinLength));
    const QByteArray transaction = pending.left(2);
    pending.remove(0, kLengthBytes + length);
    if (!std::ranges::count(kUnits, unit)) continue;
    const QModbusResponse response = processRequest(request);
    QByteArray frame = transaction;
    QDataStream(&frame, QIODevice::Append)
        << quint16(0) << quint16(response.size() + 1) << unit << response;
    socket->write(frame);
    if (socket->bytesToWrite() > kMaxUnsentBytes) {
      socket->abort();  // a client that does not read its answers
      return false;
    }
    answered = true;
  }
  return answered;
}

QCommandLineOption ModbusListenOption() {
  return QCommandLineOption(
      kOptionName,
      QStringLiteral("Answer Modbus TCP reads of purity, temperature and the alarm state at "
                     "ADDRESS, read-only. ADDRESS is %1 (a port alone: on 127.0.0.1 only). Off "
                     "by default.")
          .arg(kListenForms),
      "address");
}

bool StartModbusEndpoint(const char* program, const QCommandLineParser& parser,
                         const QString& settingsFile, const ControllerHost& host, QObject* parent) {
  const auto setting = ChooseListenSetting(parser, kOptionName, settingsFile, "modbus/listen");
  return !setting || ServeModbus(program, *setting, host, parent);
}

bool ServeModbus(const char* program, const ListenSetting& setting, const ControllerHost& host,
                 QObject* parent) {
  return StartEndpointOf<ModbusEndpoint>(program, setting, "Modbus TCP registers at %1", host,
                                         parent);
}

}  // namespace zrv::adapters
