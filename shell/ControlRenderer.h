// Brings one widget up to date with its view-model control after a handler.
// Only what differs is touched, so a render in the middle of typing or
// scrolling disturbs nothing. The reply box is the one widget with memory:
// a text that only grew gets the new part appended, so the operator's
// scroll position and selection survive as long as possible.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "core/ViewModel.h"

class QPlainTextEdit;

namespace zrv::shell {

class ControlRenderer {
 public:
  void Render(const zrv::Control& control, QWidget* widget);

 private:
  void RenderReplyBox(const zrv::Control& control, QPlainTextEdit* box);

  std::string replyText_;
  std::size_t replySelStart_ = 0;
};

}  // namespace zrv::shell
