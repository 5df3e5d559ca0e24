// The screens the desktop spans, as monitors with their work areas.
//
// Contract:
// - A monitor handle names one screen of the desktop while that screen is there; GetMonitorInfo of
//   a screen that has gone fails.
// - MonitorFromPoint gives the screen that holds the point; MonitorFromRect (and MonitorFromWindow,
//   by the window's rectangle from GetWindowRect) the screen that shares the most area with it.
//   Where no screen qualifies, the flags decide: MONITOR_DEFAULTTONULL null,
//   MONITOR_DEFAULTTOPRIMARY the primary screen, MONITOR_DEFAULTTONEAREST the screen nearest to it.
//   A dead window gives null.
// - GetMonitorInfo fills rcMonitor (the screen), rcWork (what windows may take, without panels and
//   docks) and dwFlags (MONITORINFOF_PRIMARY for the primary screen); cbSize must be set.
// - SystemParametersInfo(SPI_GETWORKAREA, 0, rect, 0) fills the RECT that rect points at with the
//   primary screen's work area; every other action fails.
// - On the GUI thread only; elsewhere every call gives null or FALSE.
#pragma once

#include "platform/win_types.h"

namespace platform {
class Monitor;
}
using HMONITOR = platform::Monitor*;

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
constexpr UINT SPI_GETWORKAREA = 0x0030;

struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags = 0;
};

namespace platform {

HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
BOOL SystemParametersInfo(UINT action, UINT param, void* value, UINT update);

}  // namespace platform
