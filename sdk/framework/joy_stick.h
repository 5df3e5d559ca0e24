// The joystick as a key-state device. Codes: 0 stick up, 1 down, 2 left, 3 right, 4 + i button i;
// the middle third of each axis is the dead zone.
#pragma once

#include <cstdint>
#include <memory>

#include "sdk/framework/key_buffer.h"

namespace joystick_code {
constexpr int kUp = 0;
constexpr int kDown = 1;
constexpr int kLeft = 2;
constexpr int kRight = 3;
constexpr int kFirstButton = 4;
}  // namespace joystick_code

// Which joystick a device reads.
constexpr int kJoystickFirst = 0;
constexpr int kJoystickSecond = 1;
constexpr int kJoystickAny = 2;  // the first one present
constexpr int kJoystickNone = 3;

class IJoyStick {
 public:
  virtual ~IJoyStick() = default;
  virtual int Poll() = 0;
  virtual void Clear() = 0;
  virtual bool IsKeyPress(int key) const = 0;
  virtual bool IsKeyPush(int key) const = 0;
  virtual const uint8_t* GetKeyBuffer() const = 0;
  virtual void SetButtonCount(int count) = 0;
  virtual int GetButtonCount() const = 0;
  virtual int SetSelector(int selector) = 0;
  virtual bool IsValid() const = 0;
};

// One joystick read through the platform's joystick functions.
class CJoyStickImpl : public CKeyBuffer, public IJoyStick {
 public:
  CJoyStickImpl(int selector, int buttonCount);

  // 0; 1 when not valid; 2 when the position cannot be read (every code then reads as off).
  int Poll() override;
  int Update() override { return Poll(); }
  void Clear() override { ClearBoth(); }
  bool IsKeyPress(int key) const override { return CKeyBuffer::IsKeyPress(key); }
  bool IsKeyPush(int key) const override { return CKeyBuffer::IsKeyPush(key); }
  const uint8_t* GetKeyBuffer() const override { return CKeyBuffer::GetKeyBuffer(); }
  void SetButtonCount(int count) override;
  int GetButtonCount() const override { return m_buttonCount; }
  // Chooses the joystick again: 0 when one was found, 1 when there are none, 2 when the chosen
  // one is missing or cannot be read.
  int SetSelector(int selector) override;
  bool IsValid() const override { return m_valid; }

 private:
  bool m_valid = false;
  int m_id = 0;
  int m_buttonCount;
  uint32_t m_xLow = 0;
  uint32_t m_xHigh = 0;
  uint32_t m_yLow = 0;
  uint32_t m_yHigh = 0;
  int m_selector;
};

// The device that the logical keys bind to; it makes its joystick on the first poll.
class CJoyStick : public CKeyBuffer {
 public:
  CJoyStick() = default;

  // The joystick's poll result; -1 when it could not be made or found at its first poll.
  int Update() override { return GetKeyState(); }
  int GetKeyState();
  bool IsKeyPress(int key) const override { return m_impl && m_impl->IsKeyPress(key); }
  bool IsKeyPush(int key) const override { return m_impl && m_impl->IsKeyPush(key); }
  const uint8_t* GetKeyBuffer() const override { return m_impl ? m_impl->GetKeyBuffer() : nullptr; }
  void Clear() {
    if (m_impl) m_impl->Clear();
  }
  void SetButtonCount(int count);
  int GetButtonCount() const { return m_buttonCount; }
  // The joystick is made again on the next poll.
  void SetSelector(int selector);

 private:
  int m_buttonCount = 2;
  int m_selector = kJoystickAny;
  std::unique_ptr<IJoyStick> m_impl;
};
