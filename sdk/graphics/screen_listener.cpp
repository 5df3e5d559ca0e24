#include "sdk/graphics/screen_listener.h"

#include "sdk/graphics/dib_draw.h"

void CScreenListenerBase::OnDrawDIB(CDIBDraw* display) { OnDraw(display); }

CScreenListener::CScreenListener() {
  if (CDIBDraw* display = CDIBDraw::Current()) display->AddScreenListener(this);
}

CScreenListener::~CScreenListener() {
  if (CDIBDraw* display = CDIBDraw::Current()) display->RemoveScreenListener(this);
}
