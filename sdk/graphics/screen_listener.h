// Objects that draw on the display right before each presentation (the movie plane draws its
// current frame that way). A CScreenListener enters itself in the list of the calling thread's
// display when it is made and leaves it when it is destroyed.
#pragma once

#include "platform/mem_dc.h"

class CDIBDraw;
class CDrawTarget;

class CScreenListenerBase {
 public:
  CScreenListenerBase() = default;
  CScreenListenerBase(const CScreenListenerBase&) = delete;
  CScreenListenerBase& operator=(const CScreenListenerBase&) = delete;

  virtual void OnDrawDC(HDC) {}
  // The display's drawing interface goes to OnDraw (null for a null display).
  virtual void OnDrawDIB(CDIBDraw* display);
  virtual ~CScreenListenerBase() = default;
  virtual void OnDraw(CDrawTarget*) {}

  int GetX() const { return m_x; }
  int GetY() const { return m_y; }
  void SetPosition(int x, int y) {
    m_x = x;
    m_y = y;
  }
  // A disabled listener is passed over.
  bool IsEnabled() const { return m_enabled; }
  void SetEnabled(bool enabled) { m_enabled = enabled; }

 private:
  int m_x = 0;
  int m_y = 0;
  bool m_enabled = true;
};

class CScreenListener : public CScreenListenerBase {
 public:
  // Appended to the calling thread's display, when it has one.
  CScreenListener();
  // Every entry of it leaves the calling thread's display, when it has one.
  ~CScreenListener() override;
};
