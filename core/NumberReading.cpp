#include "core/NumberReading.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/HandlerError.h"

namespace zrv {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the decimal number at the start of text (sign, digits, point,
// digits, exponent), or 0 when no digit is found.
std::size_t NumberPrefixLength(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

double Parse(std::string_view number) {
  // from_chars takes no leading '+' and ignores the C locale, which Qt changes.
  bool negative = false;
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  double value = 0;
  auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) throw OverflowError();
  if (ec != std::errc() || ptr != number.data() + number.size()) throw TypeMismatchError();
  return negative ? -value : value;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

template <typename T>
T RoundTo(double value) {
  // nearbyint rounds halves to even in the default rounding mode.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<T>::min() && rounded <= std::numeric_limits<T>::max())) {
    throw OverflowError();
  }
  return static_cast<T>(rounded);
}

}  // namespace

double ReadLenient(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  const std::size_t length = NumberPrefixLength(text);
  return length == 0 ? 0.0 : Parse(text.substr(0, length));
}

double ReadStrict(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || NumberPrefixLength(text) != text.size()) throw TypeMismatchError();
  return Parse(text);
}

std::int16_t RoundToInt16(double value) {
  return RoundTo<std::int16_t>(value);
}
std::int32_t RoundToInt32(double value) {
  return RoundTo<std::int32_t>(value);
}

}  // namespace zrv
