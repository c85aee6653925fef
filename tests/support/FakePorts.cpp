#include "tests/support/FakePorts.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "tests/support/TempWorkDir.h"

namespace zrv::test {

void FakeTcpClient::SetRemoteHost(const std::string& host) {
  calls.push_back("host " + host);
}

void FakeTcpClient::SetRemotePort(std::int32_t port) {
  calls.push_back("port " + std::to_string(port));
}

void FakeTcpClient::Connect() {
  calls.push_back("connect");
  connected = connectsImmediately;
}

void FakeTcpClient::SendData(const std::string& data) {
  if (failWith != 0) throw SocketError(failWith, "send failed");
  if (!connected) throw SocketError(kNotConnected, "not connected");
  calls.push_back("send " + data);
}

std::string FakeTcpClient::GetData() {
  return std::exchange(inbox, {});
}

void FakeTcpClient::Close() {
  calls.push_back("close");
  connected = false;
}

std::vector<std::string> FakeTcpClient::Sent() const {
  std::vector<std::string> sent;
  for (const auto& c : calls) {
    if (c.rfind("send ", 0) == 0) sent.push_back(c.substr(5));
  }
  return sent;
}

bool FakeDirectories::IsDirectory(const std::string& path) {
  return std::find(directories.begin(), directories.end(), path) != directories.end();
}

Rig::Rig() : Rig(std::filesystem::current_path().string()) {}

Rig::Rig(const std::string& currentDirectory)
    : w((directories.current = currentDirectory,
         directories.directories.push_back(currentDirectory),
         Ports{socket, timer1, timer2, messages, clock, directories})),
      g(w.State()),
      vm(w.View()) {
  w.Form_Load();
}

void Rig::Reply(const std::string& block) {
  socket.inbox += block;
  w.tcpclient_DataArrival(static_cast<std::int32_t>(block.size()));
}

void Rig::Tick(int n) {
  for (int i = 0; i < n; ++i) w.Timer1_Timer();
}

void Rig::AcceptVersion(const std::string& reply) {
  w.Version_Check_Click();
  Tick();
  Reply(reply);
  Tick();
}

void Rig::StartContinue(const std::string& interval, const std::string& level,
                        const std::string& logName) {
  vm.Continue_mode.value = true;
  vm.Single_mode.value = false;
  vm.Txt_Interval.text = interval;
  vm.Txt_Alarm_level.text = level;
  vm.Txt_Save_File.text = logName;
  w.start_Click();
}

void Rig::StartSingle(const std::string& command) {
  vm.Continue_mode.value = false;
  vm.Single_mode.value = true;
  vm.Txt_Command.text = command;
  w.start_Click();
}

void Rig::Pair(const std::string& purity, const std::string& temp) {
  Tick();
  Reply(purity);
  Tick();
  Reply(temp);
}

std::string Rig::Run(const std::string& script) {
  const std::map<std::string, std::function<void()>> clicks = {
      {"check", [&] { w.Version_Check_Click(); }},
      {"start",
       [&] { vm.Continue_mode.value = true, vm.Single_mode.value = false, w.start_Click(); }},
      {"single",
       [&] { vm.Continue_mode.value = false, vm.Single_mode.value = true, w.start_Click(); }},
      {"stop", [&] { w.stop_Click(); }},
      {"Single_mode", [&] { w.Single_mode_Click(); }},
      {"Continue_mode", [&] { w.Continue_mode_Click(); }},
      {"email", [&] { w.EMail_Click(); }},
      {"set", [&] { w.EMail_Pramset_Click(); }},
      {"clear", [&] { w.clear_Click(); }},
      {"offline", [&] { socket.connected = socket.connectsImmediately = false; }}};
  std::string out, step;
  std::size_t calls = socket.calls.size(), shown = messages.shown.size();
  const auto note = [&](const std::string& text) { out += (out.empty() ? "" : " ") + text; };
  const auto collect = [&] {
    for (; calls < socket.calls.size(); ++calls) {
      const std::string& call = socket.calls[calls];
      if (call.rfind("send ", 0) == 0) note(call.substr(5, call.size() - 7));
      if (call == "connect" || call == "close") note(call);
    }
    for (; shown < messages.shown.size(); ++shown) note("!" + messages.shown[shown]);
  };
  const auto control = [&](const std::string& name) {
    Control* c = vm.Find(name);
    return c ? c : throw std::invalid_argument("no control " + name);
  };
  std::istringstream steps(script);
  for (int tick = 0; steps >> step;) {
    std::replace(step.begin(), step.end(), '~', ' ');
    const std::size_t equals = step.find('=');
    if (step[0] == 't' && (step.size() == 1 || step[1] == '*')) {
      for (int n = step.size() == 1 ? 1 : std::stoi(step.substr(2)); n > 0 && timer1.enabled; --n) {
        w.Timer1_Timer();
        const std::string before = std::exchange(out, {});
        collect();
        const std::string head = (before.empty() ? "@" : before + " @") + std::to_string(++tick);
        out = out.empty() ? before : head + " " + out;
      }
    } else if (step[0] == '<') {
      Reply(step[1] == '<' ? step.substr(2) : step.substr(1) + "\r\n");
    } else if (step[0] == '?') {
      const std::string name = step.substr(1);
      if (name == "log") note("log=" + ReadFileBytes("zrv-02.log"));
      if (name != "log")
        note(name + "=" + control(name)->text + (control(name)->enabled ? "" : " off"));
    } else if (equals != std::string::npos) {
      control(step.substr(0, equals))->text = step.substr(equals + 1);
    } else {
      w.RunHandler(clicks.at(step));
    }
    collect();
  }
  return out;
}

}  // namespace zrv::test
