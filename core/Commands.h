// What travels to the instrument: ASCII commands, each ending in CR LF.
#pragma once

#include <cstddef>
#include <string_view>

namespace zrv {

constexpr const char* kCrLf = "\r\n";
// The longest command the operator may send; the instrument's own are under 20.
constexpr std::size_t kMaxCommandLength = 256;
constexpr const char* kVersionQuery = "VER?\r\n";
constexpr const char* kPurityQuery = "PURITY?\r\n";
constexpr const char* kTempQuery = "TEMP?\r\n";
constexpr const char* kThresholdQuery = "THRESHOLD?\r\n";
constexpr const char* kHysteresisQuery = "HYS?\r\n";
constexpr const char* kEmailQuery = "EMAIL?\r\n";
constexpr const char* kEmailOn = "EMAIL ON\r\n";
constexpr const char* kEmailOff = "EMAIL OF\r\n";  // the instrument's spelling: eight characters

// Replies recognised by their text.
constexpr const char* kEmailAlarmNotice = "E-MAIL ALARM\r\n";
constexpr const char* kIllegalCommand = "Illegal Command!!\r\n";
constexpr const char* kEmailOnReply = "ON\r\n";
// What a value text leaves off its reply: "%" and CR LF of a purity, the unit
// (whatever it is, three characters) and CR LF of a temperature.
constexpr std::string_view kPurityTail = "%\r\n";
constexpr std::string_view kTemperatureTail = "DEG\r\n";

}  // namespace zrv
