#include "shell/BgrColor.h"

#include <QGuiApplication>
#include <QPalette>

#include "core/ViewModel.h"

namespace zrv::shell {

QColor BgrColor(std::uint32_t color) {
  if (color == zrv::kButtonFace) return QGuiApplication::palette().color(QPalette::Button);
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace zrv::shell
