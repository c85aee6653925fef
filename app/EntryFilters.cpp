// Key filters of the four numeric fields. They keep obviously wrong
// characters out; whether the value as a whole makes sense is checked where
// it is used.
#include "core/SvZRV_02.h"

namespace zrv {

void SvZRV_02::FilterNumericKey(std::int16_t& KeyAscii, bool allowPoint) {
  const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
  const bool point = allowPoint && KeyAscii == '.';
  const bool control = KeyAscii >= 0 && KeyAscii <= 31;
  if (digit || point || control) return;
  KeyAscii = 0;
  ports_.messages.Show("Illegal Input !", "");
}

void SvZRV_02::Txt_Interval_KeyPress(std::int16_t& KeyAscii) {
  FilterNumericKey(KeyAscii, false);
}
void SvZRV_02::Txt_Alarm_level_KeyPress(std::int16_t& KeyAscii) {
  FilterNumericKey(KeyAscii, false);
}
void SvZRV_02::HostPTEdit_KeyPress(std::int16_t& KeyAscii) {
  FilterNumericKey(KeyAscii, false);
}
void SvZRV_02::HostIPEdit_KeyPress(std::int16_t& KeyAscii) {
  FilterNumericKey(KeyAscii, true);
}

}  // namespace zrv
