// The simulated instrument: its settings and its command language, with no
// sockets involved so the protocol can be tested line by line. One instance is
// shared by all connections, as the real instrument keeps its state between
// the controller's short-lived links.
#pragma once

#include <string>
#include <string_view>

#include "sim/PurityProfile.h"

namespace zrv::sim {

struct InstrumentConfig {
  std::string firmware = "1.20";
  double temperature = 25.3;
  int threshold = 90;
  int hysteresis = 5;
  bool email = false;
  PurityProfile purity = PurityProfile::Constant(99.5);
};

struct InstrumentReply {
  std::string text;          // CR LF terminated
  bool emailNotice = false;  // the unasked e-mail alarm notice is due after this reply
};

class Instrument {
 public:
  static constexpr std::string_view kEmailNotice = "E-MAIL ALARM\r\n";
  static constexpr std::string_view kIllegal = "Illegal Command!!\r\n";
  static constexpr std::string_view kOk = "OK\r\n";

  explicit Instrument(InstrumentConfig config);

  // One command line without its CR LF.
  InstrumentReply Handle(std::string_view command);

  int Threshold() const { return state_.threshold; }
  int Hysteresis() const { return state_.hysteresis; }
  bool EmailOn() const { return state_.email; }

 private:
  InstrumentReply ServePurity();
  static InstrumentReply Store(int& setting, std::string_view value);

  InstrumentConfig state_;
  bool armed_ = true;
};

}  // namespace zrv::sim
