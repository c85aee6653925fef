// The yardstick for start-up: an empty Qt Widgets window of the controller's
// size, shown and left running like the controller.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("bare window");
  window.setFixedSize(621, 325);
  window.show();
  return app.exec();
}
