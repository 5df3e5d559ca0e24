// The base of the key-state devices: two state tables flipped on every poll, so that a key held
// now and a key newly pushed since the last poll are both one lookup.
#pragma once

#include <cstdint>

class CKeyBuffer {
 public:
  static constexpr int kKeys = 256;

  CKeyBuffer() = default;
  virtual ~CKeyBuffer() = default;
  CKeyBuffer(const CKeyBuffer&) = delete;
  CKeyBuffer& operator=(const CKeyBuffer&) = delete;

  // Polls the device into the other table, which becomes the current one.
  virtual int Update() = 0;
  // Codes outside the table are never held.
  virtual bool IsKeyPress(int key) const;
  virtual bool IsKeyPush(int key) const;
  virtual const uint8_t* GetKeyBuffer() const { return m_buffers[m_index]; }

 protected:
  static bool InTable(int key) { return key >= 0 && key < kKeys; }
  void Flip() { m_index = 1 - m_index; }
  uint8_t* Current() { return m_buffers[m_index]; }
  const uint8_t* Current() const { return m_buffers[m_index]; }
  const uint8_t* Previous() const { return m_buffers[1 - m_index]; }
  void ClearBoth();

 private:
  int32_t m_index = 0;
  uint8_t m_buffers[2][kKeys] = {};
};
