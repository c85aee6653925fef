#include "adapters/QtDirectories.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace zrv::adapters {

std::string QtDirectories::CurrentDirectory() {
  return QDir::currentPath().toStdString();
}

std::vector<std::string> QtDirectories::Drives() {
  std::vector<std::string> roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady()) roots.push_back(volume.rootPath().toStdString());
  }
  // Every root starts with "/", so "/" itself sorts first.
  std::sort(roots.begin(), roots.end());
  roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
  return roots;
}

bool QtDirectories::IsDirectory(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).isDir();
}

}  // namespace zrv::adapters
