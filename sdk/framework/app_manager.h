// Which application runs on which thread, so that code anywhere finds its own application, window
// and display object by the calling thread. Worker threads find none.
#pragma once

#include <cstdint>

class CWindowApplication;
class CAppScopedObject;
namespace platform {
class DirectDraw;
}

struct CAppEntry {
  CWindowApplication* app = nullptr;
  platform::DirectDraw* directDraw = nullptr;  // only tests fill it
  void* draw = nullptr;                        // the display surface (SetDraw)
  CAppScopedObject* scopedObject = nullptr;
  uint32_t threadId = 0;  // 0: no thread
};

class CAppManager {
 public:
  // Every constructed and not yet destroyed application.
  static void IncAppCount();
  static void DecAppCount();
  static int GetAppCount();

  // Registers the application for the calling thread (once; a second thread for it is refused).
  static void Add(CWindowApplication* app);
  static void Remove(CWindowApplication* app);
  static CWindowApplication* GetCurrentApp();

  static void SetDraw(void* draw);
  static void ClearDraw(void* draw);
  static void* GetDraw();
  // The calling thread's surface object (borrowed). The game sets none; a test that sets one on
  // a thread without an application gets an entry for that thread, which null removes again.
  static void SetDirectDraw(platform::DirectDraw* directDraw);
  static platform::DirectDraw* GetDirectDraw();

  static void SetScopedObject(CAppScopedObject* object);
  static void ClearScopedObject(CAppScopedObject* object);

  // An extra application that WaitAllApps counts as running and, when owned, deletes at the end.
  static void SetOwnedApp(CWindowApplication* app, bool owns);

  // The main application's last step: invalidates every registered application and waits until
  // every other application object is destroyed.
  static void WaitAllApps();
};
