#include "shell/MenuStartFolder.h"

#include <QDir>

namespace zrv::shell {

QString EnterMenuStartFolder() {
  if (qEnvironmentVariableIsEmpty(kMenuStartVariable)) return {};
  const QString folder = QDir(QDir::homePath()).filePath(kMenuStartFolderName);
  if (!QDir().mkpath(folder)) return QStringLiteral("cannot create %1").arg(folder);
  if (!QDir::setCurrent(folder)) return QStringLiteral("cannot enter %1").arg(folder);
  return {};
}

}  // namespace zrv::shell
