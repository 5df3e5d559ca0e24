#include "editor/view/commands/command_handler_table.h"

#include <span>

namespace {

using Family = std::span<const CommandHandlerEntry> (*)();

// Every family of handlers; each id belongs to one of them.
constexpr Family kFamilies[] = {
    &DispatchCommandFamily,
    &CursorCommandFamily,
    &UndoCommandFamily,
    &InputCommandFamily,
    &ClipboardCommandFamily,
    &FileCommandFamily,
    &FileOpenCommandFamily,
    &SettingCommandFamily,
    &WindowCommandFamily,
    &GrepCommandFamily,
    &SearchCommandFamily,
    &TagCommandFamily,
    &ConvertCommandFamily,
    &OutlineCommandFamily,
    &JumpCommandFamily,
};

}  // namespace

CCommandHandlerTable& CCommandHandlerTable::Get() {
  static CCommandHandlerTable table;
  return table;
}

CCommandHandlerTable::CCommandHandlerTable() {
  for (const Family family : kFamilies) {
    for (const CommandHandlerEntry& entry : family()) {
      for (int id = entry.nFirstId; id <= entry.nLastId; ++id) {
        if (!m_handlers.emplace(id, entry.pfnHandler).second) m_duplicates.push_back(id);
      }
    }
  }
}

const CCommandHandlerTable::Handler* CCommandHandlerTable::Find(int id) const {
  const auto it = m_handlers.find(id);
  return it == m_handlers.end() ? nullptr : &it->second;
}

CCommandHandlerTable::Handler CCommandHandlerTable::Replace(int id, Handler handler) {
  Handler previous;
  const auto it = m_handlers.find(id);
  if (it != m_handlers.end()) {
    previous = std::move(it->second);
    m_handlers.erase(it);
  }
  if (handler) m_handlers.emplace(id, std::move(handler));
  return previous;
}
