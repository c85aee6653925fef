// Recording doubles of the window's ports, and a window wired to them.
#pragma once

#include <string>
#include <vector>

#include "app/Ports.h"
#include "app/SvZRV_02.h"

namespace zrv::test {

using Texts = std::vector<std::string>;
// What FakeClock stamps every record with.
constexpr const char* kStamp = "2026/12/06 18:41:13";

// A socket whose connection is made or refused by the test. Every call is
// recorded in `calls` ("host 127.0.0.1", "port 7777", "connect", "send
// PURITY?\r\n", "close") so that tests can read the wire in order.
class FakeTcpClient : public TcpClientPort {
 public:
  void SetRemoteHost(const std::string& host) override;
  void SetRemotePort(std::int32_t port) override;
  void Connect() override;
  void SendData(const std::string& data) override;
  std::string GetData() override;
  void Close() override;

  // Sent texts only, in order.
  std::vector<std::string> Sent() const;

  std::vector<std::string> calls;
  std::string inbox;
  bool connected = false;
  // When set, Connect connects at once (the peer is quick).
  bool connectsImmediately = true;
  // When set, SendData fails with this error number.
  int failWith = 0;
};

class FakeTimer : public TimerPort {
 public:
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void SetInterval(int ms) override { interval = ms; }
  int Interval() const override { return interval; }

  bool enabled = false;
  int interval = 0;
};

class FakeMessageBox : public MessageBoxPort {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  void Notify(const std::string& text) override { notified.push_back(text); }
  std::vector<std::string> shown;
  std::vector<std::string> notified;
};

class FakeClock : public ClockPort {
 public:
  std::string Stamp() override { return stamp; }
  std::string stamp = kStamp;
};

class FakeDirectories : public DirectoryPort {
 public:
  std::string CurrentDirectory() override { return current; }
  std::vector<std::string> Drives() override { return drives; }
  bool IsDirectory(const std::string& path) override;

  std::string current = "/work";
  std::vector<std::string> drives = {"/", "/work"};
  std::vector<std::string> directories = {"/", "/work", "/tmp"};
};

// A window on fake ports, loaded as at program start.
struct Rig {
  // Dir1 starts at the current working directory, a fresh temp directory.
  Rig();
  explicit Rig(const std::string& currentDirectory);

  // The instrument answers: the block arrives as one data-arrival event.
  void Reply(const std::string& block);
  // n ticks of Timer1.
  void Tick(int n = 1);
  // Check pressed and a version reply taken, leaving the version accepted.
  void AcceptVersion(const std::string& reply = "1.10\r\n");
  // start pressed in Continue mode, logging to `logName` in Dir1.
  void StartContinue(const std::string& interval, const std::string& level = "80",
                     const std::string& logName = "zrv-02.log");
  void StartSingle(const std::string& command);
  // One prompt pair of a running Continue cycle: PURITY? -> reply -> TEMP? -> reply.
  void Pair(const std::string& purity = "99.5%\r\n", const std::string& temp = "25.3DEG\r\n");
  // Plays an operator and instrument script and returns what the window did,
  // in order. Steps, separated by blanks ("~" stands for a blank inside one):
  //   t, t*N        Timer1 ticks while it is enabled; a tick's output is
  //                 headed "@n", n counted from the start of this script
  //   <text, <<raw  the instrument answers text CR LF (or raw) as one block
  //   Name=text     operator types into a control
  //   check, start (Continue), single, stop, email, set, clear: clicks
  //   offline       the link drops and no connect completes
  //   ?Name, ?log   append a control's text (" off" when disabled) or zrv-02.log
  // Output: "connect", "close", sent commands without CR LF, "!box text".
  std::string Run(const std::string& script);

  FakeTcpClient socket;
  FakeTimer timer1;
  FakeTimer timer2;
  FakeMessageBox messages;
  FakeClock clock;
  FakeDirectories directories;
  SvZRV_02 w;
  SvGlobal01B& g;
  ViewModel& vm;
};

}  // namespace zrv::test
