// Recording doubles of the window's ports, and a window wired to them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/Ports.h"
#include "core/SvZRV_02.h"

namespace zrv::test {

using Texts = std::vector<std::string>;

// A socket whose connection is made or refused by the test. Every call is
// recorded in `calls` ("host 127.0.0.1", "port 7777", "connect", "send
// PURITY?\r\n", "close") so that tests can read the wire in order.
struct FakeTcpClient : TcpClientPort {
  void SetRemoteHost(const std::string& host) override { calls.push_back("host " + host); }
  void SetRemotePort(std::int32_t p) override { calls.push_back("port " + std::to_string(p)); }
  void Connect() override { calls.push_back("connect"), connected = connectsImmediately; }
  void SendData(const std::string& data) override {
    if (!connected) throw SocketError(kNotConnected, "");
    calls.push_back("send " + data);
  }
  std::string GetData() override { return std::exchange(inbox, {}); }
  void Close() override { calls.push_back("close"), connected = false; }

  Texts calls;
  std::string inbox;
  bool connected = false;
  bool connectsImmediately = true;  // Connect connects at once (the peer is quick)
};

struct FakeTimer : TimerPort {
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void SetInterval(int ms) override { interval = ms; }
  int Interval() const override { return interval; }
  bool enabled = false;
  int interval = 0;
};

struct FakeMessageBox : MessageBoxPort {
  void Show(const std::string& t, const std::string& d) override { shown.push_back(t), Keep(d); }
  void Notify(const std::string& t, const std::string& d) override {
    notified.push_back(t), Keep(d);
  }
  void Keep(const std::string& detail) { details.push_back(detail); }
  Texts shown, notified, details;  // details of both kinds, in order
};

struct FakeClock : ClockPort {
  std::string Stamp() override { return stamp; }
  std::string stamp = "T";  // every record's stamp, unless a test sets a time
};

struct FakeDirectories : DirectoryPort {
  std::string CurrentDirectory() override { return current; }
  Texts Drives() override { return drives; }
  bool IsDirectory(const std::string& p) override { return std::ranges::count(directories, p); }
  std::string current = "/work";
  Texts drives = {"/", "/work"}, directories = {"/", "/work", "/tmp"};
};

// A window on fake ports, loaded as at program start.
struct Rig {
  // Dir1 starts at the current working directory, a fresh temp directory.
  explicit Rig(const std::string& currentDirectory = std::filesystem::current_path().string());

  // The instrument answers: the block arrives as one data-arrival event.
  void Reply(const std::string& block) {
    socket.inbox += block, w.tcpclient_DataArrival(static_cast<std::int32_t>(block.size()));
  }
  // Plays an operator and instrument script and returns what the window did,
  // in order. Steps, separated by blanks ("~" stands for a blank inside one):
  //   t, t*N        Timer1 ticks while it is enabled; a tick's output is
  //                 headed "@n", n counted from the start of this script
  //   <text, <<raw  the instrument answers text CR LF (or raw) as one block
  //   Name=text     operator types into a control
  //   check, start (Continue), single, stop, email, set, clear: clicks;
  //   Single_mode, Continue_mode, Drive1_Change: the mode buttons, a drive picked
  //   drop          the link drops unnoticed; a reconnect completes
  //   closed        the instrument closes the link; a reconnect completes
  //   offline       the link drops and no connect completes
  //   ?Name, ?log   append a control's text (" off" when disabled) or zrv-02.log
  //   ?Name.color   append a control's back colour: "green", "buttonface", ...
  // Output: "connect", "close", sent commands without CR LF, "!box text".
  // An unknown step or control throws, naming it.
  std::string Run(const std::string& script);

  FakeTcpClient socket;
  FakeTimer timer1, timer2;
  FakeMessageBox messages;
  FakeClock clock;
  FakeDirectories directories;
  SvZRV_02 w;
  SvGlobal01B& g;
  ViewModel& vm;
};

// A row's script. Converted from the row's text (a literal or a built string),
// it takes the row's own file and line, where a failure of the row is reported.
struct Script : std::string {
  Script(const char* text, const char* f = __builtin_FILE(), int l = __builtin_LINE())
      : Script(std::string(text), f, l) {}
  Script(std::string text, const char* f = __builtin_FILE(), int l = __builtin_LINE())
      : std::string(std::move(text)), file(f), line(l) {}
  const char* file;
  int line;
};
struct Row {
  Script script;
  std::string expected;
};

// Plays `setup` and then each row's script on a fresh window; the script's
// output must be the row's. A failure names the row and its setup, and shows
// expected against actual one event a line.
void ExpectRuns(const std::string& setup, std::initializer_list<Row> rows);

}  // namespace zrv::test
