// The operator's message boxes: one OK button, the program's title. Show
// is modal and runs its own event loop; MainWindow keeps handlers from
// overlapping while it is open, because every box is shown from inside a
// handler. Notify's box stays up beside the window while everything runs on.
#pragma once

#include "app/Ports.h"

class QtMessageBox : public zrv::MessageBoxPort {
 public:
  void Show(const std::string& text) override;
  void Notify(const std::string& text) override;
};
