// The window's 45 controls as plain data: what the event handlers read and
// write, and what the Qt shell renders after every handler. The shell never
// decides a caption, colour or enabled state of its own; operator input
// (typing, picking a list entry, choosing an option, browsing Dir1) is written
// back here before the next handler runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zrv {

// Colours are &HBBGGRR: red in the lowest byte.
constexpr std::uint32_t kButtonFace = 0x8000000F;  // the system's button-face colour
constexpr std::uint32_t kGreen = 0x10FF00;
constexpr std::uint32_t kSalmon = 0x8080FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kLightOrange = 0x80C0FF;
constexpr std::uint32_t kPaleCyan = 0xFFFFC0;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kLightGrey = 0xE0E0E0;
constexpr std::uint32_t kBlue = 0xFF0000;

enum class ControlKind {
  kLabel,
  kCommandButton,
  kTextBox,
  kMultiLineTextBox,
  kComboBox,
  kFrame,
  kOptionButton,
  kDriveList,
  kDirList,
  kTimer,
  kSocket,
};

// Left, top, width, height in twips (15 twips per pixel at 96 dpi); inside a
// frame measured from the frame's top-left corner.
struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlFont {
  std::string family;
  int pointSize = 9;
  int weight = 400;
  int charset = 0;
};

struct Control {
  std::string name;
  ControlKind kind = ControlKind::kLabel;
  std::string container;  // empty: the window's client area
  std::string text;       // caption, text, or the path of Dir1
  bool enabled = true;
  std::optional<std::uint32_t> backColor;  // empty: the kind's default colour
  std::optional<std::uint32_t> foreColor;
  std::string toolTip;
  int maxLength = 0;  // 0: no limit
  int tabIndex = -1;  // -1: timers and the socket
  std::optional<Geometry> geometry;
  std::optional<ControlFont> font;
  std::vector<std::string> list;  // combo boxes and the drive list
  bool value = false;             // option buttons: selected
  std::size_t selStart = 0;       // TxtBox_Reply: insertion point
};

struct ViewModel {
  ViewModel();
  ViewModel(const ViewModel&) = delete;
  ViewModel& operator=(const ViewModel&) = delete;

  // Every control in the order of the window's definition.
  std::vector<Control*> All();
  Control* Find(const std::string& name);

  Control HostPTEdit, HostIPEdit, EMail_Frame, EMail_Pramset, Txt_Theshold, Txt_Hysteresis, EMail,
      Label14, Label15, Label11, Label12, Label8, Version_Check, TCP_Condition, Timer2, Main_Frame,
      Alarm_Display, Txt_Command, stop, start, Txt_Save_File, Txt_Alarm_level, Txt_Interval,
      Continue_mode, Dir1, Drive1, Single_mode, Label7, Label3, Label6, Label5, Label4, Label2,
      Label1, TxtBox_Reply, clear, Timer1, tcpclient, Label16, Label10, Label9, HostPT, HostIP,
      Label28, Label13;
};

// The window itself.
constexpr const char* kWindowCaption = "ZRV_02 Controller V1.20";
constexpr std::uint32_t kWindowBackColor = kLightGrey;
constexpr int kClientWidthTwips = 9315;
constexpr int kClientHeightTwips = 4875;
constexpr int kTwipsPerPixel = 15;

}  // namespace zrv
