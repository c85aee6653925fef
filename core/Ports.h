// The window's edges: everything the controller logic needs from the
// platform, each as a small interface with a Qt implementation in shell
// and a recording double in tests/support.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zrv {

// Error number of a send on a socket that is not (yet) connected.
constexpr int kNotConnected = 40006;
// Error number of a send that the socket did not take whole.
constexpr int kSendIncomplete = 40030;
// Error number of a remote host or port the socket cannot take.
constexpr int kInvalidPropertyValue = 380;

// A TCP client with the behaviour of the Winsock control: Connect returns at
// once and the connection follows later; SendData on a socket that is not
// connected throws SocketError(kNotConnected) at once; Close is silent in any
// state. Received data is cut into replies (lines, see
// link/ReplyFramer.h); each reply is announced to
// SvZRV_02::tcpclient_DataArrival on its own and taken with GetData. When
// the instrument closes the connection, SvZRV_02::tcpclient_Close follows
// the replies it sent before.
class TcpClientPort {
 public:
  virtual ~TcpClientPort() = default;
  virtual void SetRemoteHost(const std::string& host) = 0;
  virtual void SetRemotePort(std::int32_t port) = 0;
  virtual void Connect() = 0;
  virtual void SendData(const std::string& data) = 0;
  virtual std::string GetData() = 0;
  virtual void Close() = 0;
};

// A periodic timer of the window.
class TimerPort {
 public:
  virtual ~TimerPort() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
};

// The operator's boxes with one OK button, the text fixed and `detail` (where
// known) saying what it leaves out: the host and port, the file, the reason.
// Both return at once and neither stops the instrument's clock: Show's box
// holds the operator's input to the window until it is closed, Notify's
// stays beside the window, for news that must not interrupt the operator.
class MessageBoxPort {
 public:
  virtual ~MessageBoxPort() = default;
  virtual void Show(const std::string& text, const std::string& detail) = 0;
  virtual void Notify(const std::string& text, const std::string& detail) = 0;
};

// Local date and time as "yyyy/mm/dd hh:nn:ss".
class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual std::string Stamp() = 0;
};

// What the drive and directory lists need of the file system.
class DirectoryPort {
 public:
  virtual ~DirectoryPort() = default;
  virtual std::string CurrentDirectory() = 0;
  // Roots of the mounted file systems; this platform has no drive letters.
  virtual std::vector<std::string> Drives() = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
};

struct Ports {
  TcpClientPort& tcpclient;
  TimerPort& Timer1;
  TimerPort& Timer2;
  MessageBoxPort& messages;
  ClockPort& clock;
  DirectoryPort& directories;
};

}  // namespace zrv
