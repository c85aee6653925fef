#include "tests/support/FakePorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "tests/support/TempWorkDir.h"

namespace zrv::test {

Rig::Rig(const std::string& currentDirectory)
    : w((directories.current = currentDirectory,
         directories.directories.push_back(currentDirectory),
         Ports{socket, timer1, timer2, messages, clock, directories})),
      g(w.State()),
      vm(w.View()) {
  w.Form_Load();
}

// A back colour by its name in core/ViewModel.h ("default": the kind's own).
static std::string ColorName(std::optional<std::uint32_t> color) {
  // clang-format off
  const std::map<std::optional<std::uint32_t>, std::string> names = {
      {std::nullopt, "default"}, {kButtonFace, "buttonface"}, {kGreen, "green"}, {kRed, "red"},
      {kSalmon, "salmon"}, {kWhite, "white"}, {kLightOrange, "lightorange"}, {kBlue, "blue"},
      {kPaleCyan, "palecyan"}, {kLightGrey, "lightgrey"}};
  // clang-format on
  return names.count(color) ? names.at(color) : std::to_string(*color);
}

std::string Rig::Run(const std::string& script) {
  // clang-format off
  const std::map<std::string, void (SvZRV_02::*)()> clicks = {
      {"check", &SvZRV_02::Version_Check_Click}, {"stop", &SvZRV_02::stop_Click},
      {"email", &SvZRV_02::EMail_Click},         {"set", &SvZRV_02::EMail_Pramset_Click},
      {"clear", &SvZRV_02::clear_Click},         {"Drive1_Change", &SvZRV_02::Drive1_Change},
      {"Single_mode", &SvZRV_02::Single_mode_Click},
      {"Continue_mode", &SvZRV_02::Continue_mode_Click}};
  // clang-format on
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
    return c ? c : throw std::invalid_argument("no control " + name + " in: " + script);
  };
  std::istringstream steps(script);
  for (int tick = 0; steps >> step;) {
    std::replace(step.begin(), step.end(), '~', ' ');
    const std::size_t equals = step.find('=');
    if (step[0] == 't' && (step.size() == 1 || step[1] == '*')) {
      for (int n = step.size() == 1 ? 1 : std::stoi(step.substr(2)); n > 0 && timer1.enabled; --n) {
        const std::size_t mark = out.size();
        ++tick, w.Timer1_Timer(), collect();
        if (out.size() > mark) out.insert(mark ? mark + 1 : 0, "@" + std::to_string(tick) + " ");
      }
    } else if (step[0] == '<') {
      Reply(step[1] == '<' ? step.substr(2) : step.substr(1) + "\r\n");
    } else if (step == "?log") {
      note("log=" + ReadFileBytes("zrv-02.log"));
    } else if (step[0] == '?' && step.ends_with(".color")) {
      note(step.substr(1) + "=" + ColorName(control(step.substr(1, step.size() - 7))->backColor));
    } else if (step[0] == '?') {
      const Control* c = control(step.substr(1));
      note(step.substr(1) + "=" + c->text + (c->enabled ? "" : " off"));
    } else if (equals != std::string::npos) {
      control(step.substr(0, equals))->text = step.substr(equals + 1);
    } else if (step == "start" || step == "single") {
      vm.Continue_mode.value = step == "start", vm.Single_mode.value = step == "single";
      w.start_Click();
    } else if (step == "drop" || step == "offline") {
      socket.connected = false, socket.connectsImmediately = step == "drop";
    } else if (step == "closed") {
      socket.connected = false, w.RunHandler([&] { w.tcpclient_Close(); });
    } else if (const auto click = clicks.find(step); click != clicks.end()) {
      w.RunHandler([&] { (w.*click->second)(); });
    } else {
      throw std::invalid_argument("no step " + step + " in: " + script);
    }
    collect();
  }
  return out;
}

// The output a line for each event: a tick with what it sent, connect, close,
// a box, a control or the log shown, quoted. For reading: rows compare the output.
static std::string Events(const std::string& out) {
  static const std::regex event(" (@[0-9]+ )?(?=connect\\b|close\\b|![^ ]|[\\w.]+=)| (?=@[0-9]+ )");
  return testing::PrintToString(std::regex_replace(out, event, "\n$1"));
}

void ExpectRuns(const std::string& setup, std::initializer_list<Row> rows) {
  for (const auto& [script, expected] : rows) {
    Rig r;
    r.Run(setup);
    std::string actual;
    try {
      actual = r.Run(script);
    } catch (const std::invalid_argument& unknownStep) {
      actual = unknownStep.what();  // reported at its row like any other difference
    }
    if (actual != expected)
      ADD_FAILURE_AT(script.file, script.line)
          << "setup \"" << setup << "\", script \"" << script << "\"\n"
          << testing::internal::EqFailure("expected", "actual", Events(expected), Events(actual),
                                          false)
                 .failure_message();
  }
}

}  // namespace zrv::test
