// An option button that takes a click anywhere on its area, not only on
// the circle and the caption: the design gives options wide areas and
// operators click into them.
#pragma once

#include <QRadioButton>

namespace zrv::shell {

class OptionButtonWidget : public QRadioButton {
  Q_OBJECT

 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace zrv::shell
