// The controller program: one window, no options. It works in the current
// directory, where it keeps its address history files.
#include <QApplication>

#include "app/shell/MainWindow.h"
#include "app/shell/QtMessageBox.h"
#include "app/shell/ShellFonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  QtMessageBox messages;
  MainWindow window(messages);
  window.show();
  return app.exec();
}
