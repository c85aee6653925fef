#include "tests/support/FakePorts.h"

#include <algorithm>
#include <filesystem>
#include <utility>

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

int FakeTcpClient::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
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

std::vector<std::string> Rig::NewlySent() {
  const std::vector<std::string> all = socket.Sent();
  std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
  seen_ = all.size();
  return fresh;
}

}  // namespace zrv::test
