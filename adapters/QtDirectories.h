// The file system as the drive and directory lists see it. Mount roots
// stand in for drive letters; "/" comes first so the list opens on it.
#pragma once

#include "core/Ports.h"

namespace zrv::adapters {

class QtDirectories : public zrv::DirectoryPort {
 public:
  std::string CurrentDirectory() override;
  std::vector<std::string> Drives() override;
  bool IsDirectory(const std::string& path) override;
};

}  // namespace zrv::adapters
