#pragma once

#include <string>

namespace zrv::test {

// Creates a fresh directory under the system's temp directory, makes it the
// current working directory and returns its path.
std::string EnterTempWorkDir();

// Reads a whole file as bytes; empty when it does not exist.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace zrv::test
