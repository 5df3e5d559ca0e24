#include "sdk/framework/joy_stick.h"

#include <algorithm>
#include <string>

#include "platform/joystick.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"

namespace {
// Button i lives at code 4 + i of the 256-entry table.
constexpr int kMaxButtons = CKeyBuffer::kKeys - joystick_code::kFirstButton;
int ClampButtons(int count) { return std::clamp(count, 0, kMaxButtons); }
}  // namespace

CJoyStickImpl::CJoyStickImpl(int selector, int buttonCount)
    : m_buttonCount(ClampButtons(buttonCount)), m_selector(selector) {
  SetSelector(selector);
}

int CJoyStickImpl::SetSelector(int selector) {
  m_valid = false;
  m_selector = selector;
  if (selector == kJoystickNone) return 2;
  if (platform::JoystickCount() == 0) return 1;
  platform::JoystickCaps caps{};
  bool found = false;
  if (selector == kJoystickFirst || selector == kJoystickSecond) {
    m_id = selector;
    found = platform::GetJoystickCaps(m_id, caps);
  } else {
    for (m_id = 0; m_id < 2 && !found; ++m_id) found = platform::GetJoystickCaps(m_id, caps);
    --m_id;
  }
  if (!found) {
    m_selector = kJoystickNone;
    return 2;
  }
  m_xLow = (caps.xMax + 2 * caps.xMin) / 3;
  m_xHigh = (caps.xMin + 2 * caps.xMax) / 3;
  m_yLow = (caps.yMax + 2 * caps.yMin) / 3;
  m_yHigh = (caps.yMin + 2 * caps.yMax) / 3;
  platform::JoystickPos pos{};
  if (!platform::GetJoystickPos(m_id, pos)) return 2;
  m_valid = true;
  ClearBoth();
  return 0;
}

void CJoyStickImpl::SetButtonCount(int count) {
  m_buttonCount = ClampButtons(count);
  ClearBoth();
}

int CJoyStickImpl::Poll() {
  if (!m_valid) return 1;
  Flip();
  uint8_t* now = Current();
  platform::JoystickPos pos{};
  if (!platform::GetJoystickPos(m_id, pos)) {
    // Keeping the older table here would bring back the state of two polls ago, and a button
    // held when the joystick went away would be pushed again on every other poll.
    std::fill(now, now + kKeys, 0);
    return 2;
  }
  now[joystick_code::kUp] = pos.y < m_yLow;
  now[joystick_code::kDown] = pos.y > m_yHigh;
  now[joystick_code::kLeft] = pos.x < m_xLow;
  now[joystick_code::kRight] = pos.x > m_xHigh;
  for (int i = 0; i < m_buttonCount; ++i) {
    now[joystick_code::kFirstButton + i] = (i < 32) && ((pos.buttons >> i) & 1);
  }
  return 0;
}

int CJoyStick::GetKeyState() {
  if (m_impl) return m_impl->Poll();
  int result;
  if (m_selector == kJoystickNone) {
    result = 2;
  } else if (m_selector < kJoystickFirst || m_selector > kJoystickAny) {
    result = 1;
  } else {
    m_impl = std::make_unique<CJoyStickImpl>(m_selector, m_buttonCount);
    result = m_impl->IsValid() ? 0 : 2;
  }
  if (result == 0) return 0;
  ErrorLog::Out("JoyStick Number " + std::to_string(m_selector + 1));
  ErrorLog::Out(result == 1 ? "CJoyStick::GetKeyState IJoyStickの生成に失敗"_sj
                            : "CJoyStick::GetKeyState IJoyStickの初期化に失敗"_sj);
  return -1;
}

void CJoyStick::SetButtonCount(int count) {
  m_buttonCount = ClampButtons(count);
  if (m_impl) m_impl->SetButtonCount(m_buttonCount);
}

void CJoyStick::SetSelector(int selector) {
  m_selector = selector;
  m_impl.reset();
}
