#include "sdk/framework/key_buffer.h"

#include <cstring>

bool CKeyBuffer::IsKeyPress(int key) const { return InTable(key) && Current()[key] != 0; }

bool CKeyBuffer::IsKeyPush(int key) const { return InTable(key) && Current()[key] != 0 && Previous()[key] == 0; }

void CKeyBuffer::ClearBoth() { std::memset(m_buffers, 0, sizeof m_buffers); }
