// Integer arithmetic on the controller state at its declared width. An
// overflow raises an error in the running handler instead of wrapping, so a
// counter can never silently turn negative during a long run.
#pragma once

#include <cstdint>

#include "core/HandlerError.h"

namespace zrv {

template <typename T>
T CheckedAdd(T a, T b) {
  T result;
  if (__builtin_add_overflow(a, b, &result)) throw OverflowError();
  return result;
}

template <typename T>
T CheckedSub(T a, T b) {
  T result;
  if (__builtin_sub_overflow(a, b, &result)) throw OverflowError();
  return result;
}

template <typename T>
T CheckedMul(T a, T b) {
  T result;
  if (__builtin_mul_overflow(a, b, &result)) throw OverflowError();
  return result;
}

inline std::int16_t Inc16(std::int16_t v) {
  return CheckedAdd<std::int16_t>(v, 1);
}
inline std::int16_t Dec16(std::int16_t v) {
  return CheckedSub<std::int16_t>(v, 1);
}
inline std::int32_t Inc32(std::int32_t v) {
  return CheckedAdd<std::int32_t>(v, 1);
}
inline std::int32_t Dec32(std::int32_t v) {
  return CheckedSub<std::int32_t>(v, 1);
}

}  // namespace zrv
