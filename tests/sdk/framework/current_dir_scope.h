// Makes a folder the file layer's current directory for one test and restores the previous one.
#pragma once

#include <string>

#include "platform/path.h"
#include "sdk/framework/path_functions.h"

class CurrentDirScope {
 public:
  // folderHost: a UTF-8 host path.
  explicit CurrentDirScope(const std::string& folderHost) : m_saved(GetCurrentDir()) {
    std::string program;
    platform::ProgramPathFromHost(folderHost, program);
    SetCurrentDir(program);
  }
  ~CurrentDirScope() { SetCurrentDir(m_saved); }
  CurrentDirScope(const CurrentDirScope&) = delete;
  CurrentDirScope& operator=(const CurrentDirScope&) = delete;

 private:
  std::string m_saved;
};
