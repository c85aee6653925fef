#include "app/shell/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBox::Show(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvane v1.20"),
                  QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}
