#include "tests/support/FakePorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "core/WindowEvents.h"
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
  // Short names for the buttons clicked most; any other click step is a control's name.
  const std::map<std::string, std::string> aliases = {
      {"check", "Version_Check"}, {"email", "EMail"}, {"set", "EMail_Pramset"}};
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
    } else if (const ClickEvent* click =
                   FindEvent(kClickEvents, aliases.count(step) ? aliases.at(step) : step)) {
      w.RunHandler([&] { (w.*click->handler)(); });
    } else if (step == std::string(kDriveChange.control) + "_Change") {
      w.RunHandler([&] { (w.*kDriveChange.handler)(); });
    } else {
      throw std::invalid_argument("no step " + step + " in: " + script);
    }
    collect();
  }
  return out;
}

// The output an event a line: a tick with what it sent, connect, close, a
// box, a control or the log shown, each quoted.
static std::vector<std::string> Events(const std::string& out) {
  static const std::regex event(" (@[0-9]+ )?(?=connect\\b|close\\b|![^ ]|[\\w.]+=)| (?=@[0-9]+ )");
  std::vector<std::string> events;
  std::istringstream split(std::regex_replace(out, event, "\x1f$1"));
  for (std::string one; std::getline(split, one, '\x1f');)
    events.push_back(testing::PrintToString(one));
  return events;
}

// Expected against actual, an event a line: what both did, then where they part.
static std::string Difference(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> want = Events(expected), got = Events(actual);
  std::size_t same = 0;
  while (same < want.size() && same < got.size() && want[same] == got[same]) ++same;
  std::string text;
  for (std::size_t i = 0; i < same; ++i) text += "  " + want[i] + "\n";
  for (std::size_t i = same; i < want.size(); ++i) text += "- " + want[i] + "\n";
  for (std::size_t i = same; i < got.size(); ++i) text += "+ " + got[i] + "\n";
  return text;
}

void ExpectRuns(const std::string& setup, std::initializer_list<Row> rows) {
  for (const auto& [script, expected] : rows) {
    std::string actual;
    try {
      Rig r;
      r.Run(setup);
      actual = r.Run(script);
    } catch (const std::invalid_argument& unknownStep) {
      actual = unknownStep.what();  // reported at its row like any other difference
    }
    if (actual != expected)
      ADD_FAILURE_AT(script.file, script.line)
          << "setup \"" << setup << "\", script \"" << script << "\"\n- expected, + actual:\n"
          << Difference(expected, actual);
  }
}

}  // namespace zrv::test
