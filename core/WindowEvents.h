// The window's events that run a handler, by control: what the Qt window
// wires its widgets to and what the test rig plays. A new button is one row.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/SvZRV_02.h"

namespace zrv {

struct ClickEvent {
  std::string_view control;
  void (SvZRV_02::*handler)();
};
inline constexpr ClickEvent kClickEvents[] = {
    {"Version_Check", &SvZRV_02::Version_Check_Click},
    {"start", &SvZRV_02::start_Click},
    {"stop", &SvZRV_02::stop_Click},
    {"EMail", &SvZRV_02::EMail_Click},
    {"EMail_Pramset", &SvZRV_02::EMail_Pramset_Click},
    {"clear", &SvZRV_02::clear_Click},
    {"Continue_mode", &SvZRV_02::Continue_mode_Click},
    {"Single_mode", &SvZRV_02::Single_mode_Click},
};

struct KeyPressEvent {
  std::string_view control;
  void (SvZRV_02::*handler)(std::int16_t& KeyAscii);
};
inline constexpr KeyPressEvent kKeyPressEvents[] = {
    {"Txt_Interval", &SvZRV_02::Txt_Interval_KeyPress},
    {"Txt_Alarm_level", &SvZRV_02::Txt_Alarm_level_KeyPress},
    {"HostIPEdit", &SvZRV_02::HostIPEdit_KeyPress},
    {"HostPTEdit", &SvZRV_02::HostPTEdit_KeyPress},
};

// The one change handler: a drive picked in the drive list.
inline constexpr ClickEvent kDriveChange = {"Drive1", &SvZRV_02::Drive1_Change};

// The row for `control`, or null.
template <typename Event, std::size_t N>
const Event* FindEvent(const Event (&events)[N], std::string_view control) {
  for (const Event& event : events) {
    if (event.control == control) return &event;
  }
  return nullptr;
}

}  // namespace zrv
