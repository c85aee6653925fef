// Creates the Qt widget of one view-model control: the widget class of its
// kind, its name, place and font. Everything that can change while the
// program runs (text, colours, enabled state, lists) is left to
// ControlRenderer, which also draws the first frame.
#pragma once

#include <QWidget>

#include "core/ViewModel.h"

namespace zrv::shell {

class ControlWidgetFactory {
 public:
  // The widget of `control` as a child of `parent`; nullptr for the kinds
  // that have none (timers, the socket).
  static QWidget* Create(const zrv::Control& control, QWidget* parent);

  // Twips to pixels at 15 twips per pixel, to the nearest pixel.
  static QRect PixelRect(const zrv::Geometry& twips);

 private:
  static QWidget* CreateOfKind(zrv::ControlKind kind, QWidget* parent);
};

}  // namespace zrv::shell
