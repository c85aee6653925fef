// The purity alarm: each well-formed purity reading of a Continue run is
// compared with the operator's level by its integer part, and Timer2 blinks
// Alarm_Display while the last reading was below it.
#include "core/Commands.h"
#include "core/NumberReading.h"
#include "core/SvZRV_02.h"

namespace zrv {

// The shape is chosen by the length.
bool SvZRV_02::HasPurityShape(const std::string& reply) {
  const std::size_t length = reply.size();
  if (length < 6 || length > 8) return false;
  const std::size_t integerDigits = length - 5;
  for (std::size_t i = 0; i < integerDigits; ++i) {
    if (reply[i] < '0' || reply[i] > '9') return false;
  }
  const std::string_view tail(reply.data() + integerDigits, 5);
  return tail[0] == '.' && tail[1] >= '0' && tail[1] <= '9' && tail.substr(2) == "%\r\n";
}

void SvZRV_02::EvaluatePurityAlarm() {
  if (g_.PurityReply == kIllegalCommand || g_.PollPhase != kTempDue || g_.MeasureMode != kTrue)
    return;
  if (!HasPurityShape(g_.PurityReply)) return;
  const std::int16_t integerPart = StrictInt16(g_.PurityReply.substr(0, g_.PurityReply.size() - 5));
  g_.AlarmActive = integerPart < g_.AlarmLevel ? kTrue : kFalse;
}

void SvZRV_02::Timer2_Timer() {
  if (g_.AlarmActive != kTrue) {
    vm_.Alarm_Display.backColor = kPaleCyan;
  } else if (g_.BlinkState == kTrue) {
    vm_.Alarm_Display.backColor = kRed;
    g_.BlinkState = kFalse;
  } else {
    vm_.Alarm_Display.backColor = kPaleCyan;
    g_.BlinkState = kTrue;
  }
}

}  // namespace zrv
