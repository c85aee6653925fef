// The directory list: the current directory's ancestors from the root down,
// then its subdirectories, indented like a tree. Activating an entry (double
// click or Enter) asks for that directory; the window writes it to the view
// model and the list follows on the next render, so the model stays the one
// place that knows the path.
#pragma once

#include <QListWidget>
#include <QString>

namespace zrv::shell {

class DirListWidget : public QListWidget {
  Q_OBJECT

 public:
  explicit DirListWidget(QWidget* parent = nullptr);

  QString Path() const { return path_; }
  void SetPath(const QString& path);

 signals:
  void directoryChosen(const QString& path);

 private:
  void AddEntry(const QString& name, const QString& path, int depth, bool open);

  QString path_;
};

}  // namespace zrv::shell
