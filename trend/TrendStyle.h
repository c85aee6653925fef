// How the trend view looks, in one place: the chart's series, its axes and
// legend, and the window's readout take their colours and sizes from here.
#pragma once

#include <QRgb>

namespace zrv::trend {

// The series; each value axis is written in its line's colour.
constexpr QRgb kPurityColor = 0x1f5fbf;
constexpr QRgb kTemperatureColor = 0x2e9e44;
constexpr QRgb kAlarmLineColor = 0xd01010;
constexpr QRgb kShadeColor = 0xffd2cc;
constexpr QRgb kNoticeColor = 0xff8c00;
constexpr QRgb kNoticeEdgeColor = 0x7a3c00;
constexpr QRgb kEmptyTextColor = 0x505050;

// In pixels, whatever the zoom.
constexpr double kPurityWidth = 2;
constexpr double kTemperatureWidth = 1.5;
constexpr double kAlarmLineWidth = 2;
constexpr double kNoticeSize = 13;

// Type sizes as a multiple of the system's.
constexpr double kEmptyTextScale = 1.6;
constexpr double kReadoutScale = 2.2;
constexpr int kReadoutMargin = 6;  // pixels

// The readout, readable across a room: dark on light, or white on strong.
constexpr const char* kNormalStyle = "color: #102040; background: #f4f4f4;";
constexpr const char* kBelowStyle = "color: white; background: #c00000;";
constexpr const char* kGoodStyle = "color: white; background: #1b7a1b;";
constexpr const char* kOverdueStyle = "color: black; background: #ffb000;";
constexpr const char* kQuietStyle = "color: #606060; background: #f4f4f4;";

}  // namespace zrv::trend
