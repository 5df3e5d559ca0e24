// Accelerator tables: the key-to-command tables an edit window translates its keys with.
//
// Contract: CreateAcceleratorTable copies the entries and gives a handle (null for no entries or a
// null array); CopyAcceleratorTable copies up to `count` entries out and returns how many the table
// holds (with a null destination, just the count); DestroyAcceleratorTable frees it (a null or
// destroyed handle is refused with false). A handle is local to its process.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace platform {
struct AcceleratorTable;
}

using HACCEL = platform::AcceleratorTable*;

constexpr uint8_t FVIRTKEY = 0x01;
constexpr uint8_t FNOINVERT = 0x02;
constexpr uint8_t FSHIFT = 0x04;
constexpr uint8_t FCONTROL = 0x08;
constexpr uint8_t FALT = 0x10;

struct ACCEL {
  uint8_t fVirt;
  uint16_t key;
  uint16_t cmd;
};

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
int CopyAcceleratorTable(HACCEL table, ACCEL* out, int count);
bool DestroyAcceleratorTable(HACCEL table);
int TranslateAccelerator(HWND hwnd, HACCEL table, const MSG* msg);
