#include "sim/Instrument.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace zrv::sim {

namespace {

constexpr std::string_view kThresholdSet = "THRESHOLD ";
constexpr std::string_view kHysteresisSet = "HYS ";

std::string WithLineEnd(std::string text) {
  return text + "\r\n";
}

std::string Printed(const char* format, auto value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

Instrument::Instrument(InstrumentConfig config) : state_(std::move(config)) {}

InstrumentReply Instrument::Handle(std::string_view command) {
  if (command == "VER?") return {WithLineEnd(state_.firmware)};
  if (command == "PURITY?") return ServePurity();
  if (command == "TEMP?") return {Printed("%.1fDEG\r\n", state_.temperature)};
  if (command == "THRESHOLD?") return {Printed("%02d\r\n", state_.threshold)};
  if (command == "HYS?") return {Printed("%02d\r\n", state_.hysteresis)};
  if (command == "EMAIL?") return {state_.email ? "ON\r\n" : "OFF\r\n"};
  if (command == "EMAIL ON" || command == "EMAIL OF") {
    state_.email = command == "EMAIL ON";
    return {std::string(kOk)};
  }
  if (command.starts_with(kThresholdSet)) {
    return Store(state_.threshold, command.substr(kThresholdSet.size()));
  }
  if (command.starts_with(kHysteresisSet)) {
    return Store(state_.hysteresis, command.substr(kHysteresisSet.size()));
  }
  return {std::string(kIllegal)};
}

InstrumentReply Instrument::ServePurity() {
  const int tenths = state_.purity.NextTenths();
  bool notice = false;
  if (tenths < state_.threshold * 10) {
    notice = state_.email && armed_;
    if (notice) armed_ = false;
  } else if (tenths > (state_.threshold + state_.hysteresis) * 10) {
    armed_ = true;
  }
  return {WithLineEnd(PurityProfile::Format(tenths)), notice};
}

InstrumentReply Instrument::Store(int& setting, std::string_view value) {
  // Digits only: from_chars alone would let "-0" through.
  const bool digits =
      !value.empty() && std::ranges::all_of(value, [](char c) { return c >= '0' && c <= '9'; });
  int number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (!digits || error != std::errc() || end != value.data() + value.size() || number > 99) {
    return {std::string(kIllegal)};
  }
  setting = number;
  return {std::string(kOk)};
}

}  // namespace zrv::sim
