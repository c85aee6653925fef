// The window as it is created: every control's design-time properties.
#include "core/ViewModel.h"

#include <utility>

namespace zrv {
namespace {

using K = ControlKind;
const ControlFont kTitleFont{"MS PGothic", 12, 700, 128};
const ControlFont kRunButtonFont{"MS PGothic", 9, 400, 0};

struct Design {
  K kind;
  const char* container;
  const char* text;
  std::optional<std::uint32_t> back;
  const char* toolTip;
  bool enabled;
  int maxLength;
  int tabIndex;
  std::optional<Geometry> geometry;
};

Control Make(const char* name, const Design& s) {
  Control c;
  c.name = name;
  c.kind = s.kind;
  c.container = s.container;
  c.text = s.text;
  c.backColor = s.back;
  c.toolTip = s.toolTip;
  c.enabled = s.enabled;
  c.maxLength = s.maxLength;
  c.tabIndex = s.tabIndex;
  c.geometry = s.geometry;
  return c;
}

constexpr std::nullopt_t kDefault = std::nullopt;
const char* const kWin = "";

}  // namespace

// clang-format off
ViewModel::ViewModel()
    : HostPTEdit(Make("HostPTEdit", {K::kComboBox, kWin, "7777", kDefault, "", true, 0, 41, Geometry{2640, 960, 1335, 300}})),
      HostIPEdit(Make("HostIPEdit", {K::kComboBox, kWin, "192.168.1.55", kDefault, "", true, 0, 40, Geometry{120, 960, 2172, 300}})),
      EMail_Frame(Make("EMail_Frame", {K::kFrame, kWin, "", kDefault, "", false, 0, 30, Geometry{1920, 1320, 2535, 1335}})),
      EMail_Pramset(Make("EMail_Pramset", {K::kCommandButton, "EMail_Frame", "set", kButtonFace, "Parameter set", false, 0, 39, Geometry{1560, 240, 495, 315}})),
      Txt_Theshold(Make("Txt_Theshold", {K::kTextBox, "EMail_Frame", "0", kDefault, "", false, 5, 34, Geometry{120, 960, 615, 252}})),
      Txt_Hysteresis(Make("Txt_Hysteresis", {K::kTextBox, "EMail_Frame", "0", kDefault, "", false, 5, 33, Geometry{1320, 960, 615, 252}})),
      EMail(Make("EMail", {K::kCommandButton, "EMail_Frame", "not Ready", kButtonFace, "E-Mail setting", false, 0, 31, Geometry{120, 240, 975, 315}})),
      Label14(Make("Label14", {K::kLabel, "EMail_Frame", "%", kDefault, "", true, 0, 38, Geometry{840, 960, 255, 195}})),
      Label15(Make("Label15", {K::kLabel, "EMail_Frame", "%", kDefault, "", true, 0, 37, Geometry{2040, 960, 255, 195}})),
      Label11(Make("Label11", {K::kLabel, "EMail_Frame", "Hysteresis", kDefault, "", true, 0, 36, Geometry{1320, 720, 975, 195}})),
      Label12(Make("Label12", {K::kLabel, "EMail_Frame", "Threshold", kDefault, "", true, 0, 35, Geometry{120, 720, 975, 195}})),
      Label8(Make("Label8", {K::kLabel, "EMail_Frame", "  E-Mail", kDefault, "", true, 0, 32, Geometry{120, 0, 735, 195}})),
      Version_Check(Make("Version_Check", {K::kCommandButton, kWin, "Check", kSalmon, "Version_Check", true, 0, 26, Geometry{6240, 240, 975, 315}})),
      TCP_Condition(Make("TCP_Condition", {K::kCommandButton, kWin, "TCP Condition", kWhite, "Lights while connecting TCP", true, 0, 24, Geometry{120, 1320, 1275, 435}})),
      Timer2(Make("Timer2", {K::kTimer, kWin, "", kDefault, "", true, 0, -1, std::nullopt})),
      Main_Frame(Make("Main_Frame", {K::kFrame, kWin, "", kDefault, "", false, 0, 6, Geometry{4560, 840, 4575, 3855}})),
      Alarm_Display(Make("Alarm_Display", {K::kCommandButton, "Main_Frame", "Alarm", kPaleCyan, "Blinks when purity falls below the setting", true, 0, 17, Geometry{720, 2160, 915, 555}})),
      Txt_Command(Make("Txt_Command", {K::kTextBox, "Main_Frame", "VER?", kDefault, "", true, 0, 16, Geometry{480, 3360, 1695, 252}})),
      stop(Make("stop", {K::kCommandButton, "Main_Frame", "stop", 0xC0C0FF, "Execution stop", true, 0, 15, Geometry{3600, 3000, 660, 375}})),
      start(Make("start", {K::kCommandButton, "Main_Frame", "start", 0xC0FFC0, "Execution", true, 0, 14, Geometry{2520, 3000, 660, 375}})),
      Txt_Save_File(Make("Txt_Save_File", {K::kTextBox, "Main_Frame", "zrv-02.log", kDefault, "", true, 0, 13, Geometry{2400, 960, 2055, 252}})),
      Txt_Alarm_level(Make("Txt_Alarm_level", {K::kTextBox, "Main_Frame", "80", kDefault, "", true, 2, 12, Geometry{360, 1800, 1092, 252}})),
      Txt_Interval(Make("Txt_Interval", {K::kTextBox, "Main_Frame", "10", kDefault, "", true, 4, 11, Geometry{360, 1200, 1092, 252}})),
      Continue_mode(Make("Continue_mode", {K::kOptionButton, "Main_Frame", "Continue", kDefault, "", true, 0, 10, Geometry{120, 360, 2055, 255}})),
      Dir1(Make("Dir1", {K::kDirList, "Main_Frame", "", kDefault, "", true, 0, 9, Geometry{2400, 1680, 2055, 1140}})),
      Drive1(Make("Drive1", {K::kDriveList, "Main_Frame", "", kDefault, "", true, 0, 8, Geometry{2400, 1320, 2055, 300}})),
      Single_mode(Make("Single_mode", {K::kOptionButton, "Main_Frame", "Single", kDefault, "", true, 0, 7, Geometry{120, 2760, 2055, 255}})),
      Label7(Make("Label7", {K::kLabel, "Main_Frame", "* '0' set : 10000s", kDefault, "", true, 0, 25, Geometry{360, 960, 1905, 195}})),
      Label3(Make("Label3", {K::kLabel, "Main_Frame", "Command", kDefault, "", true, 0, 20, Geometry{480, 3120, 1545, 195}})),
      Label6(Make("Label6", {K::kLabel, "Main_Frame", "Save to:", kDefault, "", true, 0, 23, Geometry{2400, 720, 1545, 195}})),
      Label5(Make("Label5", {K::kLabel, "Main_Frame", "%", kDefault, "", true, 0, 22, Geometry{1560, 1800, 225, 195}})),
      Label4(Make("Label4", {K::kLabel, "Main_Frame", "s", kDefault, "", true, 0, 21, Geometry{1560, 1320, 225, 195}})),
      Label2(Make("Label2", {K::kLabel, "Main_Frame", "Alarm Level (0%\uFF5E99%)", kDefault, "", true, 0, 19, Geometry{360, 1560, 1995, 195}})),
      Label1(Make("Label1", {K::kLabel, "Main_Frame", "Interval (1\uFF5E9999)", kDefault, "", true, 0, 18, Geometry{360, 720, 1545, 195}})),
      TxtBox_Reply(Make("TxtBox_Reply", {K::kMultiLineTextBox, kWin, "", kDefault, "Reply Data", true, 0, 2, Geometry{120, 2760, 4335, 1575}})),
      clear(Make("clear", {K::kCommandButton, kWin, "clear", 0x80FFFF, "Clear reply buffer", true, 0, 0, Geometry{1800, 4440, 795, 315}})),
      Timer1(Make("Timer1", {K::kTimer, kWin, "", kDefault, "", false, 0, -1, std::nullopt})),
      tcpclient(Make("tcpclient", {K::kSocket, kWin, "", kDefault, "", true, 0, -1, std::nullopt})),
      Label16(Make("Label16", {K::kLabel, kWin, "(MAX 100 Line)", kLightGrey, "", true, 0, 29, Geometry{120, 2520, 1395, 195}})),
      Label10(Make("Label10", {K::kLabel, kWin, "????", kLightGrey, "", true, 0, 28, Geometry{7320, 360, 615, 195}})),
      Label9(Make("Label9", {K::kLabel, kWin, "Firmware Version:", kLightGrey, "", true, 0, 27, Geometry{7320, 120, 1455, 195}})),
      HostPT(Make("HostPT", {K::kLabel, kWin, "Host Port Number", kLightGrey, "", true, 0, 5, Geometry{2640, 720, 1575, 195}})),
      HostIP(Make("HostIP", {K::kLabel, kWin, "Host IP Address", kLightGrey, "", true, 0, 4, Geometry{120, 720, 1545, 195}})),
      Label28(Make("Label28", {K::kLabel, kWin, "Reply Data", kLightGrey, "", true, 0, 3, Geometry{120, 2280, 1155, 195}})),
      Label13(Make("Label13", {K::kLabel, kWin, "Quorvane (ZRV-02) Controller V1.20", kLightGrey, "", true, 0, 1, Geometry{120, 120, 6015, 375}})) {
  // clang-format on
  Continue_mode.value = true;
  Label13.foreColor = kBlue;
  Label13.font = kTitleFont;
  start.font = kRunButtonFont;
  stop.font = kRunButtonFont;
}

std::vector<Control*> ViewModel::All() {
  return {&HostPTEdit,     &HostIPEdit,      &EMail_Frame,   &EMail_Pramset, &Txt_Theshold,
          &Txt_Hysteresis, &EMail,           &Label14,       &Label15,       &Label11,
          &Label12,        &Label8,          &Version_Check, &TCP_Condition, &Timer2,
          &Main_Frame,     &Alarm_Display,   &Txt_Command,   &stop,          &start,
          &Txt_Save_File,  &Txt_Alarm_level, &Txt_Interval,  &Continue_mode, &Dir1,
          &Drive1,         &Single_mode,     &Label7,        &Label3,        &Label6,
          &Label5,         &Label4,          &Label2,        &Label1,        &TxtBox_Reply,
          &clear,          &Timer1,          &tcpclient,     &Label16,       &Label10,
          &Label9,         &HostPT,          &HostIP,        &Label28,       &Label13};
}

Control* ViewModel::Find(const std::string& name) {
  for (Control* c : All()) {
    if (c->name == name) return c;
  }
  return nullptr;
}

}  // namespace zrv
