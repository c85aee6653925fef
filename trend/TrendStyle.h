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
constexpr double kSmallestHeadline = 0.6;              // of its size, when too wide for its box
constexpr int kValueBoxShare = 3, kLevelBoxShare = 4;  // of the readout's width
constexpr int kReadoutMargin = 6;                      // pixels

// The readout, readable across a room: dark on light, or white on strong.
struct ToneColors {
  QRgb text, back;
};
constexpr ToneColors kNormalColors{0x102040, 0xf4f4f4};
constexpr ToneColors kBelowColors{0xffffff, 0xc00000};
constexpr ToneColors kGoodColors{0xffffff, 0x1b7a1b};
constexpr ToneColors kOverdueColors{0x000000, 0xffb000};
constexpr ToneColors kQuietColors{0x404040, 0xd8d8d8};
// Widths asked for, in characters (the readout's in headline characters);
// narrower, texts are cut short.
constexpr int kReadoutChars = 12;
constexpr int kSummaryChars = 110;
constexpr int kFiguresChars = 30, kFiguresLines = 12;
constexpr int kFigureChars = 8;  // a figure's column

}  // namespace zrv::trend
