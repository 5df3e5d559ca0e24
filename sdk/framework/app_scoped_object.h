// An object registered in the calling thread's application entry for its lifetime (the game's top
// object is one).
#pragma once

class CAppScopedObject {
 public:
  CAppScopedObject();
  CAppScopedObject(const CAppScopedObject&) = delete;
  CAppScopedObject& operator=(const CAppScopedObject&) = delete;
  virtual ~CAppScopedObject();

  virtual void MainLoop() = 0;
};
