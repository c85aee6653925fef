// The purity alarm: each well-formed purity reading of a Continue run is
// compared with the operator's level by its integer part, and Timer2 blinks
// Alarm_Display while the last reading was below it.
#include "core/Commands.h"
#include "core/NumberReading.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// After the integer digits: the point, the tenths, "%" and CR LF.
constexpr std::size_t kTenthsAndTail = 5;
constexpr std::size_t kMostIntegerDigits = 3;  // 100.0%

}  // namespace

// The shape is chosen by the length.
bool SvZRV_02::HasPurityShape(const std::string& reply) {
  const std::size_t length = reply.size();
  if (length <= kTenthsAndTail || length > kTenthsAndTail + kMostIntegerDigits) return false;
  const std::size_t integerDigits = length - kTenthsAndTail;
  for (std::size_t i = 0; i < integerDigits; ++i) {
    if (reply[i] < '0' || reply[i] > '9') return false;
  }
  const std::string_view tail(reply.data() + integerDigits, kTenthsAndTail);
  return tail[0] == '.' && tail[1] >= '0' && tail[1] <= '9' && tail.substr(2) == kPurityTail;
}

void SvZRV_02::EvaluatePurityAlarm(const std::string& purityReply) {
  if (purityReply == kIllegalCommand || g_.PollPhase != kTempDue || g_.MeasureMode != kTrue) return;
  if (!HasPurityShape(purityReply)) return;
  const std::int16_t integerPart =
      StrictInt16(purityReply.substr(0, purityReply.size() - kTenthsAndTail));
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
