// The two ways the controller turns entry and reply texts into numbers.
//
// Lenient: the text's leading decimal number, 0 when there is none
// ("7777.5" -> 7777.5, "1.2a" -> 1.2, "" -> 0). Used for the port and the
// firmware version.
// Strict: the whole text (surrounding blanks aside) must be a number; an
// empty or non-numeric text is an error. Used for the interval, the alarm
// level and the integer part of a purity reply.
// Both round to the target width with halves to even and raise an overflow
// outside it.
#pragma once

#include <cstdint>
#include <string_view>

namespace zrv {

double ReadLenient(std::string_view text);
double ReadStrict(std::string_view text);

std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);

inline std::int16_t LenientInt16(std::string_view text) {
  return RoundToInt16(ReadLenient(text));
}
inline std::int16_t StrictInt16(std::string_view text) {
  return RoundToInt16(ReadStrict(text));
}
inline std::int32_t StrictInt32(std::string_view text) {
  return RoundToInt32(ReadStrict(text));
}

}  // namespace zrv
