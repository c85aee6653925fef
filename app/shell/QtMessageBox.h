// The operator's message box: modal, one OK button, the program's title.
// It runs its own event loop; MainWindow keeps handlers from overlapping
// while it is open, because every box is shown from inside a handler.
#pragma once

#include "app/Ports.h"

class QtMessageBox : public zrv::MessageBoxPort {
 public:
  void Show(const std::string& text) override;
};
