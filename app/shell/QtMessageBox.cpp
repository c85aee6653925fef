#include "app/shell/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox* NewBox(const std::string& text) {
  return new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quorvane v1.20"),
                         QString::fromStdString(text), QMessageBox::Ok,
                         QApplication::activeWindow());
}

}  // namespace

void QtMessageBox::Show(const std::string& text) {
  QMessageBox* box = NewBox(text);
  box->exec();
  delete box;
}

void QtMessageBox::Notify(const std::string& text) {
  QMessageBox* box = NewBox(text);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}
